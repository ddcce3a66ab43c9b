#include "search/urlresolution.h"
