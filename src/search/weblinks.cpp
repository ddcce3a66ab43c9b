#include "search/weblinks.h"
