#include "search/urllist.h"
