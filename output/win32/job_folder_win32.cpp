#include <windows.h>

#include "output/job_file.h"

bool MoveJobFolder(const char* from, const char* to) { return MoveFileA(from, to) != 0; }
