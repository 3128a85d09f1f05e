#include "output/jpeg_options.h"

#include "foundation/record_store.h"
#include "output/app_store_access.h"

namespace {

constexpr uint16_t kQualityOfStep[kJpegQualitySteps] = {10, 30, 50, 65, 75, 80, 85, 90, 93, 95};

}  // namespace

JpegOptions gJpegOptions = kDefaultJpegOptions;

int JpegQualityOfStep(int step) {
  if (step < 1) step = 1;
  if (step > kJpegQualitySteps) step = kJpegQualitySteps;
  return kQualityOfStep[step - 1];
}

int JpegStepOfQuality(int quality) {
  for (int step = 1; step <= kJpegQualitySteps; ++step)
    if (kQualityOfStep[step - 1] == quality) return step;
  return kJpegStepOfUnknownQuality;
}

void LoadJpegOptions(JpegOptions* options) {
  *options = kDefaultJpegOptions;
  WithAppStore([options](FileHandle store) {
    JpegOptions stored;
    uint32_t size = 0;
    // A record of another size is no options record of ours.
    if (RecordStoreSize(store, kJpegOptionsType, kJpegOptionsId, &size) && size == sizeof stored &&
        RecordStoreRead(store, kJpegOptionsType, kJpegOptionsId, &stored, sizeof stored) &&
        stored.version == kJpegOptionsVersion)
      *options = stored;
    return true;
  });
}

bool SaveJpegOptions(const JpegOptions& options) {
  return WithAppStore([&options](FileHandle store) {
    RecordStoreDelete(store, kJpegOptionsType, kJpegOptionsId);
    return RecordStoreAdd(store, kJpegOptionsType, kJpegOptionsId, &options, sizeof options, kJpegOptionsName);
  });
}
