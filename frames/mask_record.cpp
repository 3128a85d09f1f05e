#include "frames/mask_record.h"

#include <cstring>

bool ParseMaskRecord(const uint8_t* data, uint32_t size, std::vector<WinRect>* area, WinRect* reference) {
  MaskRecordHeader header;
  if (!data || size < sizeof header) return false;
  std::memcpy(&header, data, sizeof header);
  const uint32_t room = (size - static_cast<uint32_t>(sizeof header)) / sizeof(WinRect);
  if (header.region.size != sizeof(MaskRegionDataHeader) || header.region.type != 1 || header.region.count > room)
    return false;
  area->resize(header.region.count);
  if (header.region.count) std::memcpy(area->data(), data + sizeof header, header.region.count * sizeof(WinRect));
  if (reference) *reference = header.reference;
  return true;
}
