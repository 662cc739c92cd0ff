#include "library/catalogue.h"

Catalogue catalogue;
