// Memory blocks and MemHandles: the data source allocates everything here.
// Blocks are zero-filled and known by their data pointer alone; a MemHandle
// is a small record that carries its data block's size.
#pragma once

#include <cstddef>
#include <cstdint>

// A zero-filled block of size bytes, or null when memory is short.
void* AllocBlock(uint32_t size);
// Frees a block from AllocBlock; null is ignored.
void FreeBlock(void* block);
// Copies count bytes from source (FIRST argument) to destination; the ranges may overlap.
void MoveBytes(const void* source, void* destination, uint32_t count);

// The handle record: data pointer, the marker "OTOF", the size in bytes
// (12 bytes in the 32-bit product).
struct MemHandleRecord {
  uint8_t* data;
  char marker[4];
  uint32_t size;
};
typedef MemHandleRecord* MemHandle;

static_assert(offsetof(MemHandleRecord, data) == 0, "data pointer first");
static_assert(offsetof(MemHandleRecord, marker) == sizeof(void*), "marker behind the pointer");
static_assert(offsetof(MemHandleRecord, size) == sizeof(void*) + 4, "size last");
static_assert(sizeof(void*) != 4 || sizeof(MemHandleRecord) == 12, "12-byte record in the product");

// The last memory error of a MemHandle operation.
enum : int16_t { kMemNoError = 0, kMemFullError = -108, kMemNullHandleError = -109 };
extern int16_t gMemError;

// A handle whose data block of size bytes is zero-filled; null with gMemError -108.
MemHandle NewMemHandle(uint32_t size);
// Keeps the handle when it already holds at least size bytes (size > 0);
// otherwise disposes it and, for size > 0, puts a new zero-filled handle in
// its place. Contents are never carried over to a new handle.
void ResizeMemHandle(MemHandle* handle, uint32_t size);
// The size field; 0 with gMemError -109 for a null handle.
uint32_t MemHandleSize(MemHandle handle);
// Frees the data block and the record; gMemError -109 for a null handle.
void DisposeMemHandle(MemHandle handle);

// The data source's own module, kept when the module is loaded; null means
// the program that runs the code (as in tests).
typedef void* ModuleHandle;
void SetModuleInstance(ModuleHandle module);
ModuleHandle GetModuleInstance();
