#include "foundation/progress/session_values.h"

#include "foundation/progress/session_services.h"
#include "foundation/record_store.h"

bool ResetBatchCounterIn(FileHandle store) {
  uint32_t counter = 0;
  if (!store || !RecordStoreRead(store, kBatchCounterType, kBatchCounterId, &counter, sizeof counter)) return false;
  counter &= 0xFFFF0000u;
  // The store replaces the record as a whole, so a failed write keeps the old one.
  return RecordStoreAdd(store, kBatchCounterType, kBatchCounterId, &counter, sizeof counter, "");
}

void ResetBatchCounter() {
  const SessionServices& services = InstalledSessionServices();
  FileHandle store = services.appStore ? services.appStore() : nullptr;
  if (store) {
    ResetBatchCounterIn(store);
    return;
  }
  if (!services.openAppStore) return;
  ResetBatchCounterIn(services.openAppStore());
  if (services.closeAppStore) services.closeAppStore();
}

uint8_t PaleChannel(uint8_t channel) { return static_cast<uint8_t>(255.0 - (255 - channel) * 0.3); }

uint32_t PaleColor(uint32_t color) {
  uint32_t pale = 0;
  for (int shift = 0; shift < 24; shift += 8) pale |= static_cast<uint32_t>(PaleChannel((color >> shift) & 0xFF)) << shift;
  return pale;
}

uint32_t ColorModeNameId(bool color, int32_t bitsPerSample, int32_t colorMode) {
  const SessionServices& services = InstalledSessionServices();
  if (!color) return bitsPerSample < 2 ? kLineArtString : kGrayString;
  if (bitsPerSample > 8 && services.highBitColorIsRgb && services.highBitColorIsRgb()) return kRgbString;
  switch (colorMode) {
    case 2:
      return !services.outputIsRgb || services.outputIsRgb() ? kRgbString : kCmykString;
    case 3:
    case 5:
      return kCmykString;
    case 4:
      return kLabString;
    default:
      return kRgbString;
  }
}
