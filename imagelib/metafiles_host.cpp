// The host build has no GDI to play or record metafiles: they answer "unsupported".
#include "imagelib/codecs.h"

namespace imagelib {

void* RenderMetafile(EntryWork& work, const char*, int*, int*, int, int, uint32_t) {
  work.error = kImageUnsupported;
  return nullptr;
}

int WriteWmfImage(EntryWork& work, IoStream&, const void*, int, int, int) {
  work.error = kImageUnsupported;
  return 0;
}

int WriteEmfImage(EntryWork& work, IoStream&, const void*, int, int) {
  work.error = kImageUnsupported;
  return 0;
}

}  // namespace imagelib
