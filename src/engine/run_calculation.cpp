#include "engine/run_calculation.h"
