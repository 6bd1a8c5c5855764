#include "engine/pw_cubic_interpolation.h"
