// The bytes of an ICC version 2.1 profile as the colour-management module
// writes them: the 128-byte header, the tag table and the tag elements, each
// element starting on a 4-byte boundary, all numbers big-endian.
#pragma once

#include <cstdint>
#include <vector>

typedef std::vector<uint8_t> IccBytes;

constexpr uint32_t IccSignature(const char (&text)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8 | static_cast<uint8_t>(text[3]);
}

// The D50 illuminant of the profile connection space.
constexpr double kD50[3] = {0.96417, 1.0, 0.82487};

struct IccDateTime {
  uint16_t year, month, day, hours, minutes, seconds;
};

// The header fields that differ between the profiles written here.
struct IccHeaderFields {
  uint32_t deviceClass;      // 'scnr', 'spac'
  uint32_t dataColorSpace;   // 'RGB ', 'Lab '
  uint32_t connectionSpace;  // 'XYZ ', 'Lab '
  uint32_t attributes;       // 1 for a transparent original
  IccDateTime date;
};

struct IccTag {
  uint32_t signature;
  IccBytes element;
};

// The whole profile: header, tag table in the order given, then the elements.
IccBytes SerializeIccProfile(const IccHeaderFields& header, const std::vector<IccTag>& tags);

// Tag elements.
// textDescriptionType with the ASCII part only: text length + 16 bytes.
IccBytes DescElement(const char* text);
// textType of the given size (at least the text length + 9), zero-padded.
IccBytes TextElement(const char* text, uint32_t size);
IccBytes XyzElement(const double (&xyz)[3]);
// A one-entry curve: the gamma in u8.8, 460 (about 1.8) when it is not above 0.
IccBytes GammaCurveElement(double gamma);

// A lut16Type of three inputs and three outputs with the identity matrix.
struct Lut16Tables {
  int32_t gridPoints;
  int32_t inputEntries;
  int32_t outputEntries;
  std::vector<uint16_t> input;   // 3 x inputEntries, channel by channel
  std::vector<uint16_t> grid;    // gridPoints^3 nodes of 3 values, the third input fastest
  std::vector<uint16_t> output;  // 3 x outputEntries
};
// 2 x (3 g^3 + 3 (input + output entries)) + 55 bytes; false-sized tables give an empty element.
IccBytes Lut16Element(const Lut16Tables& tables);

// Entry i of n: floor(i x 65535 / (n - 1) + 0.5).
std::vector<uint16_t> IdentityTable(int32_t n);
