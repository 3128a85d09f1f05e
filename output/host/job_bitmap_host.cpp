#include <cstddef>
#include <new>

#include "output/job_thumbnails.h"

// The host build keeps a bitmap as its bare pixels.
void* CreateJobBitmap(int32_t width, int32_t height, uint32_t** bits) {
  *bits = width > 0 && height > 0 ? new (std::nothrow) uint32_t[size_t(width) * size_t(height)]() : nullptr;
  return *bits;
}

void DeleteJobBitmap(void* bitmap) { delete[] static_cast<uint32_t*>(bitmap); }
