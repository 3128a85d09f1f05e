// Builders and readers of the TWAIN containers (one value, enumeration,
// array) and the fixed-point helper. Containers are movable memory blocks
// obtained through a small allocator: global memory handles in the product,
// ordinary heap blocks in the host checks. The receiver frees them.
#pragma once

#include <cstdint>

#include "twain/twain_records.h"

struct ContainerAllocator {
  TW_HANDLE (*allocate)(uint32_t size);  // null when there is no memory
  void* (*lock)(TW_HANDLE handle);       // null when it cannot be locked
  void (*unlock)(TW_HANDLE handle);
  void (*release)(TW_HANDLE handle);
};

// The platform's allocator (GlobalAlloc GMEM_MOVEABLE in the product).
extern const ContainerAllocator kPlatformContainerAllocator;
// The allocator the builders use; tests may put another one in place.
extern const ContainerAllocator* gContainerAllocator;

// Byte size of one item of a TWAIN item type: 1, 2, 4 or 16; 2 for unknown types.
uint32_t TwainTypeSize(TW_UINT16 itemType);

TW_FIX32 MakeFix32(float value);
double Fix32ToDouble(TW_FIX32 value);

struct EnumHeader {
  TW_UINT16 itemType;
  uint32_t count;
  uint32_t currentIndex;
  uint32_t defaultIndex;
};

struct ArrayHeader {
  TW_UINT16 itemType;
  uint32_t count;
};

// Each builds a new container into capability.hContainer and sets ConType.
// TWCC_LOWMEMORY (hContainer null) when it cannot be allocated or locked,
// else TWCC_SUCCESS. Items are packed by TwainTypeSize of the item type.
TW_UINT16 MakeOneValueContainer(TW_CAPABILITY* capability, TW_UINT16 itemType, uint32_t value);
TW_UINT16 MakeEnumContainer(TW_CAPABILITY* capability, const EnumHeader& header, const void* items);
TW_UINT16 MakeArrayContainer(TW_CAPABILITY* capability, const ArrayHeader& header, const void* items);

// Reads the container's item as its ItemType says (1 byte for types 0 and 3,
// 2 for 1, 4 and 6, 4 for 2 and 5; nothing for other types, out unchanged).
// False when the container cannot be locked or the index lies beyond its items.
bool ReadOneValueItem(const TW_CAPABILITY* capability, uint32_t* out);
bool ReadEnumItem(const TW_CAPABILITY* capability, uint32_t* out, uint32_t index);
// Header of an enumeration container; false when it cannot be locked.
bool ReadEnumHeader(const TW_CAPABILITY* capability, EnumHeader* out);
