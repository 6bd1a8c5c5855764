#include "engine/camber_line.h"
