#include <windows.h>

#include "output/job_thumbnails.h"

void DeleteJobBitmap(void* bitmap) {
  if (bitmap) DeleteObject(static_cast<HGDIOBJ>(bitmap));
}
