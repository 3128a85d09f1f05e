#include "foundation/memory.h"

#include <cstdlib>
#include <cstring>

int16_t gMemError = kMemNoError;

namespace {

// No block of the 32-bit product can reach 2 GB; refusing such sizes
// everywhere keeps the host build's answers the same as the product's.
constexpr uint32_t kLargestBlock = 0x7FFFFFFFu;

ModuleHandle gModuleInstance = nullptr;

}  // namespace

void* AllocBlock(uint32_t size) {
  if (size > kLargestBlock) return nullptr;
  return std::calloc(size == 0 ? 1 : size, 1);
}

void FreeBlock(void* block) { std::free(block); }

void MoveBytes(const void* source, void* destination, uint32_t count) {
  if (count > 0) std::memmove(destination, source, count);
}

MemHandle NewMemHandle(uint32_t size) {
  gMemError = kMemNoError;
  auto* record = static_cast<MemHandleRecord*>(AllocBlock(sizeof(MemHandleRecord)));
  uint8_t* data = record ? static_cast<uint8_t*>(AllocBlock(size)) : nullptr;
  if (!data) {
    FreeBlock(record);
    gMemError = kMemFullError;
    return nullptr;
  }
  record->data = data;
  std::memcpy(record->marker, "OTOF", 4);
  record->size = size;
  return record;
}

void ResizeMemHandle(MemHandle* handle, uint32_t size) {
  gMemError = kMemNoError;
  if (*handle) {
    if (size > 0 && (*handle)->size >= size) return;
    DisposeMemHandle(*handle);
    *handle = nullptr;
  }
  if (size > 0) *handle = NewMemHandle(size);
}

uint32_t MemHandleSize(MemHandle handle) {
  gMemError = kMemNoError;
  if (!handle) {
    gMemError = kMemNullHandleError;
    return 0;
  }
  return handle->size;
}

void DisposeMemHandle(MemHandle handle) {
  gMemError = kMemNoError;
  if (!handle) {
    gMemError = kMemNullHandleError;
    return;
  }
  FreeBlock(handle->data);
  FreeBlock(handle);
}

void SetModuleInstance(ModuleHandle module) { gModuleInstance = module; }
ModuleHandle GetModuleInstance() { return gModuleInstance; }
