#include "twain/capability_containers.h"

#include <cstring>

const ContainerAllocator* gContainerAllocator = &kPlatformContainerAllocator;

uint32_t TwainTypeSize(TW_UINT16 itemType) {
  switch (itemType) {
    case TWTY_INT8:
    case TWTY_UINT8:
      return 1;
    case TWTY_INT32:
    case TWTY_UINT32:
    case TWTY_FIX32:
      return 4;
    case TWTY_FRAME:
      return 16;
    default:  // TWTY_INT16, TWTY_UINT16, TWTY_BOOL and anything unknown
      return 2;
  }
}

TW_FIX32 MakeFix32(float value) {
  int32_t v = static_cast<int32_t>(value * 65536.0f + 0.5f);
  TW_FIX32 fix;
  fix.Whole = static_cast<TW_INT16>(v >> 16);
  fix.Frac = static_cast<TW_UINT16>(v & 0xFFFF);
  return fix;
}

double Fix32ToDouble(TW_FIX32 value) { return value.Whole + value.Frac / 65536.0; }

namespace {

// Allocates and locks a block of the size; on failure nothing is kept.
void* NewLockedContainer(TW_CAPABILITY* capability, TW_UINT16 conType, uint32_t size) {
  capability->hContainer = nullptr;
  TW_HANDLE handle = gContainerAllocator->allocate(size);
  if (!handle) return nullptr;
  void* block = gContainerAllocator->lock(handle);
  if (!block) {
    // A container that cannot be filled is no answer: give the block back.
    gContainerAllocator->release(handle);
    return nullptr;
  }
  std::memset(block, 0, size);
  capability->ConType = conType;
  capability->hContainer = handle;
  return block;
}

uint32_t ReadItemBytes(const uint8_t* item, TW_UINT16 itemType, uint32_t fallback) {
  switch (itemType) {
    case TWTY_INT8:
    case TWTY_UINT8:
      return item[0];
    case TWTY_INT16:
    case TWTY_UINT16:
    case TWTY_BOOL: {
      uint16_t v;
      std::memcpy(&v, item, 2);
      return v;
    }
    case TWTY_INT32:
    case TWTY_UINT32: {
      uint32_t v;
      std::memcpy(&v, item, 4);
      return v;
    }
    default:
      return fallback;
  }
}

}  // namespace

TW_UINT16 MakeOneValueContainer(TW_CAPABILITY* capability, TW_UINT16 itemType, uint32_t value) {
  auto* block = static_cast<TW_ONEVALUE*>(NewLockedContainer(capability, TWON_ONEVALUE, sizeof(TW_ONEVALUE)));
  if (!block) return TWCC_LOWMEMORY;
  block->ItemType = itemType;
  block->Item = value;
  gContainerAllocator->unlock(capability->hContainer);
  return TWCC_SUCCESS;
}

TW_UINT16 MakeEnumContainer(TW_CAPABILITY* capability, const EnumHeader& header, const void* items) {
  uint32_t itemBytes = header.count * TwainTypeSize(header.itemType);
  auto* block = static_cast<TW_ENUMERATION*>(
      NewLockedContainer(capability, TWON_ENUMERATION, offsetof(TW_ENUMERATION, ItemList) + itemBytes + 1));
  if (!block) return TWCC_LOWMEMORY;
  block->ItemType = header.itemType;
  block->NumItems = header.count;
  block->CurrentIndex = header.currentIndex;
  block->DefaultIndex = header.defaultIndex;
  std::memcpy(block->ItemList, items, itemBytes);
  gContainerAllocator->unlock(capability->hContainer);
  return TWCC_SUCCESS;
}

TW_UINT16 MakeArrayContainer(TW_CAPABILITY* capability, const ArrayHeader& header, const void* items) {
  uint32_t itemBytes = header.count * TwainTypeSize(header.itemType);
  auto* block = static_cast<TW_ARRAY*>(
      NewLockedContainer(capability, TWON_ARRAY, offsetof(TW_ARRAY, ItemList) + itemBytes + 1));
  if (!block) return TWCC_LOWMEMORY;
  block->ItemType = header.itemType;
  block->NumItems = header.count;
  std::memcpy(block->ItemList, items, itemBytes);
  gContainerAllocator->unlock(capability->hContainer);
  return TWCC_SUCCESS;
}

bool ReadOneValueItem(const TW_CAPABILITY* capability, uint32_t* out) {
  if (!capability->hContainer) return false;
  auto* block = static_cast<const TW_ONEVALUE*>(gContainerAllocator->lock(capability->hContainer));
  if (!block) return false;
  *out = ReadItemBytes(reinterpret_cast<const uint8_t*>(&block->Item), block->ItemType, *out);
  gContainerAllocator->unlock(capability->hContainer);
  return true;
}

bool ReadEnumHeader(const TW_CAPABILITY* capability, EnumHeader* out) {
  if (!capability->hContainer) return false;
  auto* block = static_cast<const TW_ENUMERATION*>(gContainerAllocator->lock(capability->hContainer));
  if (!block) return false;
  *out = EnumHeader{block->ItemType, block->NumItems, block->CurrentIndex, block->DefaultIndex};
  gContainerAllocator->unlock(capability->hContainer);
  return true;
}

bool ReadEnumItem(const TW_CAPABILITY* capability, uint32_t* out, uint32_t index) {
  if (!capability->hContainer) return false;
  auto* block = static_cast<const TW_ENUMERATION*>(gContainerAllocator->lock(capability->hContainer));
  if (!block) return false;
  // An index the host's own item count does not cover would read past the block.
  bool inside = index < block->NumItems;
  if (inside) {
    const uint8_t* item = block->ItemList + static_cast<size_t>(index) * TwainTypeSize(block->ItemType);
    *out = ReadItemBytes(item, block->ItemType, *out);
  }
  gContainerAllocator->unlock(capability->hContainer);
  return inside;
}
