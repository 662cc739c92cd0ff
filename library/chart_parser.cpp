#include "library/chart_parser.h"

void parseChart() {}
