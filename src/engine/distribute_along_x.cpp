#include "engine/distribute_along_x.h"
