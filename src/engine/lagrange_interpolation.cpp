#include "engine/lagrange_interpolation.h"
