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

void* ReadBmpImage(EntryWork& work, IoStream&, int, int*, int*, PaletteEntry*) { return Unsupported<void*>(work); }
void* ReadJpegImage(EntryWork& work, IoStream&, int, int*, int*) { return Unsupported<void*>(work); }
void* RenderMetafile(EntryWork& work, const char*, int*, int*, int, int, uint32_t) {
  return Unsupported<void*>(work);
}

bool ReadJpegHeader(EntryWork& work, IoStream&, int*, int*, int*, ImageResolution*) {
  return Unsupported<bool>(work);
}

bool WriteBmpImage(EntryWork& work, IoStream&, const void*, int, int, int, int, const PaletteEntry*, int) {
  return Unsupported<bool>(work);
}
int WriteJpegImage(EntryWork& work, IoStream&, const void*, int, int, int, int, int, const ImageResolution&) {
  return Unsupported<int>(work);
}
bool WriteWmfImage(EntryWork& work, IoStream&, const void*, int, int, int) { return Unsupported<bool>(work); }
bool WriteEmfImage(EntryWork& work, IoStream&, const void*, int, int) { return Unsupported<bool>(work); }

bool QuantizeToPalette(EntryWork& work, const void*, int, int, void*, int, PaletteEntry*, int) {
  return Unsupported<bool>(work);
}
bool ComputeOptimalPalette(EntryWork& work, const void*, int, int, int, PaletteEntry*) {
  return Unsupported<bool>(work);
}

}  // namespace imagelib
