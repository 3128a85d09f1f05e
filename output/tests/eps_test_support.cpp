#include "output/tests/eps_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const struct {
  uint32_t id;
  const char* file;
} kTemplates[] = {
    {431, "dcs_master_one_file.txt"}, {432, "dcs_plate_section.txt"},   {433, "dcs_plate_tail.txt"},
    {434, "eps_composite.txt"},       {435, "eps_composite_tail.txt"},  {436, "dcs_master_separate_files.txt"},
    {437, "dcs_plate_section.txt"},   {438, "dcs_plate_tail.txt"},
};

bool ReadWhole(const std::string& path, std::vector<uint8_t>* bytes) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bytes->clear();
  uint8_t chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes->insert(bytes->end(), chunk, chunk + got);
  std::fclose(file);
  return true;
}

}  // namespace

bool LoadEpsTemplates(ScriptedSystem& system) {
  for (const auto& t : kTemplates) {
    std::vector<uint8_t> bytes;
    if (!ReadWhole(std::string(ZIR_EPS_TEMPLATES) + t.file, &bytes)) return false;
    system.resources[{"TEXT", t.id}] = bytes;
  }
  return true;
}

uint32_t Le32(const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24; }
uint32_t Be32(const uint8_t* at) { return static_cast<uint32_t>(at[0]) << 24 | at[1] << 16 | at[2] << 8 | at[3]; }

std::string TextAt(const std::vector<uint8_t>& bytes, size_t at, size_t count) {
  if (at >= bytes.size()) return "";
  return std::string(reinterpret_cast<const char*>(&bytes[at]), std::min(count, bytes.size() - at));
}

size_t FindBinaryData(const std::vector<uint8_t>& bytes, size_t from, long* declared) {
  static const char kMarker[] = "%%BeginBinary:";
  const std::string text(bytes.begin() + static_cast<long>(from), bytes.end());
  const size_t marker = text.find(kMarker);
  if (marker == std::string::npos) return std::string::npos;
  *declared = std::strtol(text.c_str() + marker + sizeof kMarker - 1, nullptr, 10);
  const size_t begin = text.find("\nbeginimage\n", marker);
  return begin == std::string::npos ? begin : from + begin + 12;
}

std::vector<uint8_t> DecodeHexLines(const std::string& block) {
  std::vector<uint8_t> bytes;
  size_t at = block.find("\r\n");
  while (at != std::string::npos && block.compare(at + 2, 2, "% ") == 0) {
    const size_t end = block.find("\r\n", at + 2);
    for (size_t i = at + 4; i + 1 < end; i += 2)
      bytes.push_back(static_cast<uint8_t>(std::strtol(block.substr(i, 2).c_str(), nullptr, 16)));
    at = end;
  }
  return bytes;
}
