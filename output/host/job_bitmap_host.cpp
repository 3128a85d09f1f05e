#include "output/job_thumbnails.h"

// The host build makes no bitmaps.
void DeleteJobBitmap(void*) {}
