#include "files/result_file_writer.h"
