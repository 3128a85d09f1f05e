// Codecs not built yet: each answers "unsupported" until its own file replaces it here.
#include "imagelib/codecs.h"

namespace imagelib {

namespace {

template <typename Result>
Result Unsupported(EntryWork& work) {
  work.error = kImageUnsupported;
  return Result();
}

}  // namespace

void* RenderMetafile(EntryWork& work, const char*, int*, int*, int, int, uint32_t) {
  return Unsupported<void*>(work);
}

bool WriteWmfImage(EntryWork& work, IoStream&, const void*, int, int, int) { return Unsupported<bool>(work); }
bool WriteEmfImage(EntryWork& work, IoStream&, const void*, int, int) { return Unsupported<bool>(work); }

}  // namespace imagelib
