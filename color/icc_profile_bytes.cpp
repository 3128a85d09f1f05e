#include "color/icc_profile_bytes.h"

#include <cmath>
#include <cstring>

#include "foundation/fixed_point.h"

namespace {

constexpr uint32_t kHeaderSize = 128;
constexpr uint32_t kTagEntrySize = 12;
constexpr uint32_t kProfileVersion = 0x02100000;

void PutU16(IccBytes& out, size_t at, uint16_t v) {
  out[at] = static_cast<uint8_t>(v >> 8);
  out[at + 1] = static_cast<uint8_t>(v);
}

void PutU32(IccBytes& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

void PutFixed(IccBytes& out, size_t at, double v) { PutU32(out, at, static_cast<uint32_t>(DoubleToFix(v))); }

uint32_t Aligned(uint32_t n) { return (n + 3) & ~3u; }

// The type signature and the reserved word that open every element.
IccBytes NewElement(const char (&type)[5], uint32_t size) {
  IccBytes element(size, 0);
  PutU32(element, 0, IccSignature(type));
  return element;
}

}  // namespace

IccBytes SerializeIccProfile(const IccHeaderFields& fields, const std::vector<IccTag>& tags) {
  uint32_t size = Aligned(kHeaderSize + 4 + kTagEntrySize * static_cast<uint32_t>(tags.size()));
  for (const IccTag& tag : tags) size = Aligned(size + static_cast<uint32_t>(tag.element.size()));
  IccBytes out(size, 0);

  PutU32(out, 0, size);
  PutU32(out, 4, IccSignature("Lino"));
  PutU32(out, 8, kProfileVersion);
  PutU32(out, 12, fields.deviceClass);
  PutU32(out, 16, fields.dataColorSpace);
  PutU32(out, 20, fields.connectionSpace);
  const IccDateTime& d = fields.date;
  const uint16_t date[6] = {d.year, d.month, d.day, d.hours, d.minutes, d.seconds};
  for (int i = 0; i < 6; ++i) PutU16(out, 24 + 2 * i, date[i]);
  PutU32(out, 36, IccSignature("acsp"));
  PutU32(out, 40, IccSignature("MSFT"));
  PutU32(out, 48, IccSignature("MSFT"));
  // The 64-bit attributes: bit 0 marks a transparency.
  PutU32(out, 60, fields.attributes);
  for (int c = 0; c < 3; ++c) PutFixed(out, 68 + 4 * c, kD50[c]);

  PutU32(out, kHeaderSize, static_cast<uint32_t>(tags.size()));
  uint32_t offset = Aligned(kHeaderSize + 4 + kTagEntrySize * static_cast<uint32_t>(tags.size()));
  size_t entry = kHeaderSize + 4;
  for (const IccTag& tag : tags) {
    const uint32_t length = static_cast<uint32_t>(tag.element.size());
    PutU32(out, entry, tag.signature);
    PutU32(out, entry + 4, offset);
    PutU32(out, entry + 8, length);
    if (length) std::memcpy(&out[offset], tag.element.data(), length);
    entry += kTagEntrySize;
    offset = Aligned(offset + length);
  }
  return out;
}

IccBytes DescElement(const char* text) {
  const uint32_t length = static_cast<uint32_t>(std::strlen(text));
  IccBytes element = NewElement("desc", length + 16);
  PutU32(element, 8, length + 1);
  std::memcpy(&element[12], text, length);
  return element;
}

IccBytes TextElement(const char* text, uint32_t size) {
  const uint32_t length = static_cast<uint32_t>(std::strlen(text));
  IccBytes element = NewElement("text", size < length + 9 ? length + 9 : size);
  std::memcpy(&element[8], text, length);
  return element;
}

IccBytes XyzElement(const double (&xyz)[3]) {
  IccBytes element = NewElement("XYZ ", 20);
  for (int c = 0; c < 3; ++c) PutFixed(element, 8 + 4 * c, xyz[c]);
  return element;
}

IccBytes GammaCurveElement(double gamma) {
  IccBytes element = NewElement("curv", 16);
  PutU32(element, 8, 1);
  PutU16(element, 12, gamma > 0 ? static_cast<uint16_t>(std::trunc(gamma * 256 + 0.5)) : 460);
  return element;
}

IccBytes Lut16Element(const Lut16Tables& t) {
  const size_t nodes = static_cast<size_t>(t.gridPoints) * t.gridPoints * t.gridPoints;
  if (t.gridPoints < 2 || t.gridPoints > 255 || t.inputEntries < 2 || t.outputEntries < 2 ||
      t.input.size() != 3u * t.inputEntries || t.output.size() != 3u * t.outputEntries || t.grid.size() != 3 * nodes) {
    return {};
  }
  const size_t values = t.input.size() + t.grid.size() + t.output.size();
  IccBytes element = NewElement("mft2", static_cast<uint32_t>(2 * values + 55));
  element[8] = 3;
  element[9] = 3;
  element[10] = static_cast<uint8_t>(t.gridPoints);
  for (int i = 0; i < 3; ++i) PutFixed(element, 12 + 4 * (4 * i), 1.0);
  PutU16(element, 48, static_cast<uint16_t>(t.inputEntries));
  PutU16(element, 50, static_cast<uint16_t>(t.outputEntries));
  size_t at = 52;
  for (const std::vector<uint16_t>* table : {&t.input, &t.grid, &t.output}) {
    for (uint16_t v : *table) {
      PutU16(element, at, v);
      at += 2;
    }
  }
  return element;
}

std::vector<uint16_t> IdentityTable(int32_t n) {
  std::vector<uint16_t> table(n > 0 ? n : 0);
  for (int32_t i = 0; i < n; ++i) {
    table[i] = n > 1 ? static_cast<uint16_t>(std::floor(i * 65535.0 / (n - 1) + 0.5)) : 0;
  }
  return table;
}
