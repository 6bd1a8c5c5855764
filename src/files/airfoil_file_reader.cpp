#include "files/airfoil_file_reader.h"
