#include "engine/map_airfoil_to_circle.h"
