// The TIFF reader on fuzzed files.
#include "readers/tests/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzImageReader(data, size, "zir_fuzz.tif");
  return 0;
}
