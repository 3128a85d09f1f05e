#include "foundation/pstring.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void AppendBytes(unsigned char* destination, const char* bytes, size_t count) {
  size_t room = static_cast<size_t>(kPStringMaxLength - destination[0]);
  if (count > room) count = room;
  std::memcpy(destination + 1 + destination[0], bytes, count);
  destination[0] = static_cast<unsigned char>(destination[0] + count);
}

}  // namespace

unsigned char* PStrFromC(unsigned char* destination, const char* text) {
  destination[0] = 0;
  AppendBytes(destination, text, std::strlen(text));
  return destination;
}

unsigned char* PStrFromCInPlace(char* buffer) {
  size_t length = std::strlen(buffer) % 256;
  std::memmove(buffer + 1, buffer, length);
  buffer[0] = static_cast<char>(length);
  return reinterpret_cast<unsigned char*>(buffer);
}

char* PStrToC(unsigned char* buffer) {
  size_t length = buffer[0];
  std::memmove(buffer, buffer + 1, length);
  buffer[length] = '\0';
  return reinterpret_cast<char*>(buffer);
}

void PStrCopy(unsigned char* destination, const unsigned char* source) {
  std::memmove(destination, source, static_cast<size_t>(source[0]) + 1);
}

void PStrAppend(unsigned char* destination, const unsigned char* source) {
  AppendBytes(destination, reinterpret_cast<const char*>(source + 1), source[0]);
}

unsigned char* PStrAppendC(unsigned char* destination, const char* text) {
  AppendBytes(destination, text, std::strlen(text));
  return destination;
}

int PStrCompare(const unsigned char* a, const unsigned char* b) {
  int common = a[0] < b[0] ? a[0] : b[0];
  int order = std::memcmp(a + 1, b + 1, static_cast<size_t>(common));
  if (order == 0) order = a[0] - b[0];
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

void PStrFromLong(int32_t value, unsigned char* destination) {
  char text[16];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
  PStrFromC(destination, text);
}

int PStrToLong(const unsigned char* s, int32_t* value) {
  char text[256];
  PStrToText(s, text);
  char* end = nullptr;
  errno = 0;
  long long number = std::strtoll(text, &end, 10);
  if (end == text) return 0;
  // Out of range saturates, the same on both platforms.
  if (number > INT32_MAX) number = INT32_MAX;
  if (number < INT32_MIN) number = INT32_MIN;
  *value = static_cast<int32_t>(number);
  return 1;
}

void PStrToText(const unsigned char* s, char* text) {
  std::memcpy(text, s + 1, s[0]);
  text[s[0]] = '\0';
}
