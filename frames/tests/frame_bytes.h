// Reading and writing record bytes at raw offsets, independent of the struct's field names.
#pragma once

#include <cstdint>
#include <cstring>

template <typename T>
T ValueAt(const void* record, size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
  return value;
}

template <typename T>
void PutValueAt(void* record, size_t offset, T value) {
  std::memcpy(static_cast<uint8_t*>(record) + offset, &value, sizeof value);
}
