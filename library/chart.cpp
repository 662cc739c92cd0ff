#include "library/chart.h"

Chart chart;
