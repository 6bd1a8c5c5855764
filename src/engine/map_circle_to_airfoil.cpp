#include "engine/map_circle_to_airfoil.h"
