#include "color/profile_writer.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "foundation/dialogs/alerts.h"
#include "foundation/file_io.h"
#include "foundation/file_names.h"
#include "foundation/pstring.h"
#include "foundation/system.h"
#include "state/data_source_state.h"
#include "color/color_management.h"

namespace {

constexpr uint32_t kWarningCaptionString = 500;
constexpr uint32_t kProfileExistsString = 1718;
constexpr int32_t kInputEntries = 256;
constexpr char kCopyrightNotice[] = "Copyright Varnholde Imaging";

ProfileWriterServices gServices;
IccDateTime (*gClock)() = nullptr;

IccDateTime SystemClock() {
  const std::time_t now = std::time(nullptr);
  const std::tm* t = std::localtime(&now);
  if (!t) return {};
  return {static_cast<uint16_t>(t->tm_year + 1900), static_cast<uint16_t>(t->tm_mon + 1),
          static_cast<uint16_t>(t->tm_mday),        static_cast<uint16_t>(t->tm_hour),
          static_cast<uint16_t>(t->tm_min),         static_cast<uint16_t>(t->tm_sec)};
}

const double* Node(const double* xyz, int32_t g, int32_t r, int32_t gr, int32_t b) {
  return xyz + 3 * ((static_cast<size_t>(r) * g + gr) * g + b);
}

// A colorant: its node scaled by D50 over the white, negatives as 0.
IccBytes ColorantElement(const double* node, const double* white) {
  double xyz[3];
  for (int c = 0; c < 3; ++c) {
    const double v = white[c] != 0 ? node[c] * kD50[c] / white[c] : 0;
    xyz[c] = v < 0 ? 0 : v;
  }
  return XyzElement(xyz);
}

// Input tables from the calibration's grey balance, in the upper byte; the
// identity where there is none.
std::vector<uint16_t> ScannerInputTables() {
  std::vector<uint16_t> tables(3 * kInputEntries);
  for (int16_t k = 0; k < 3; ++k) {
    uint16_t* table = &tables[k * kInputEntries];
    for (int32_t i = 0; i < kInputEntries; ++i) table[i] = static_cast<uint16_t>(i);
    if (gServices.greyBalanceTable) gServices.greyBalanceTable(table, kInputEntries, static_cast<int16_t>(k + 1));
    for (int32_t i = 0; i < kInputEntries; ++i) table[i] = static_cast<uint16_t>(table[i] << 8);
  }
  return tables;
}

uint16_t GridValue(double v, int c) {
  const double scaled = std::trunc(v * 32768 * kD50[c] + 0.5);
  return static_cast<uint16_t>(scaled < 0 ? 0 : scaled > 65535 ? 65535 : scaled);
}

std::string ProfileName() {
  unsigned char name[256];
  MakeProfileName(name, gLightSourceFlag != 0, gOptionUnitFlag != 0, gOptionSlot);
  char text[256];
  PStrToText(name, text);
  return text;
}

std::string StringResource(uint32_t id) {
  char text[512];
  return LoadResourceString(gResModule, id, text, sizeof text) > 0 ? text : "";
}

// The file may be (re)written: absent, or replaced after the user said OK.
bool MayWriteProfile(const std::string& path) {
  if (!FileExists(path.c_str())) return true;
  const int answer = ShowMessageBox(gMainDialog, StringResource(kWarningCaptionString).c_str(),
                                    StringResource(kProfileExistsString).c_str(), kBoxOkCancel | kBoxIconExclamation,
                                    kWarningCaptionString, kProfileExistsString);
  return answer == kAnswerOk && DeleteFileAt(path.c_str());
}

bool WriteWholeFile(const std::string& path, const IccBytes& bytes) {
  FileHandle file = CreateFileForWriting(path.c_str());
  if (!file) return false;
  const bool written = WriteBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(bytes.size()));
  CloseFile(file);
  // A half-written profile would be listed as a broken one.
  if (!written) DeleteFileAt(path.c_str());
  return written;
}

}  // namespace

void InstallProfileWriterServices(const ProfileWriterServices& services) { gServices = services; }

void InstallProfileClock(IccDateTime (*clock)()) { gClock = clock; }

IccDateTime ProfileClockNow() { return gClock ? gClock() : SystemClock(); }

IccBytes ScannerProfileBytes(const double* xyz, int32_t g, double gamma, const char* name, bool transparent,
                             const IccDateTime& date) {
  const double* white = Node(xyz, g, g - 1, g - 1, g - 1);
  Lut16Tables lut{g, kInputEntries, 2, ScannerInputTables(), {}, {0, 65535, 0, 65535, 0, 65535}};
  const size_t nodes = static_cast<size_t>(g) * g * g;
  lut.grid.resize(3 * nodes);
  for (size_t i = 0; i < 3 * nodes; ++i) lut.grid[i] = GridValue(xyz[i], static_cast<int>(i % 3));
  const IccBytes curve = GammaCurveElement(gamma);
  const IccBytes table = Lut16Element(lut);
  const std::vector<IccTag> tags = {
      {IccSignature("desc"), DescElement(name)},
      {IccSignature("wtpt"), XyzElement(kD50)},
      {IccSignature("rXYZ"), ColorantElement(Node(xyz, g, g - 1, 0, 0), white)},
      {IccSignature("gXYZ"), ColorantElement(Node(xyz, g, 0, g - 1, 0), white)},
      {IccSignature("bXYZ"), ColorantElement(Node(xyz, g, 0, 0, g - 1), white)},
      {IccSignature("rTRC"), curve},
      {IccSignature("gTRC"), curve},
      {IccSignature("bTRC"), curve},
      {IccSignature("cprt"), TextElement(kCopyrightNotice, 0)},
      {IccSignature("A2B0"), table},
      {IccSignature("A2B1"), table},
      {IccSignature("A2B2"), table},
  };
  return SerializeIccProfile(
      {IccSignature("scnr"), IccSignature("RGB "), IccSignature("XYZ "), transparent ? 1u : 0u, date}, tags);
}

IccBytes LabIdentityProfileBytes(const IccDateTime& date) {
  const std::vector<uint16_t> ramp = IdentityTable(256);
  Lut16Tables lut{2, 256, 256, {}, {}, {}};
  for (int c = 0; c < 3; ++c) {
    lut.input.insert(lut.input.end(), ramp.begin(), ramp.end());
    lut.output.insert(lut.output.end(), ramp.begin(), ramp.end());
  }
  const std::vector<uint16_t> axis = IdentityTable(2);
  for (uint16_t i : axis)
    for (uint16_t j : axis)
      for (uint16_t k : axis) lut.grid.insert(lut.grid.end(), {i, j, k});
  const IccBytes table = Lut16Element(lut);
  const std::vector<IccTag> tags = {
      {IccSignature("desc"), DescElement("")},
      {IccSignature("wtpt"), XyzElement(kD50)},
      {IccSignature("cprt"), TextElement("", 12)},
      {IccSignature("A2B0"), table},
      {IccSignature("B2A0"), table},
  };
  return SerializeIccProfile({IccSignature("spac"), IccSignature("Lab "), IccSignature("Lab "), 0, date}, tags);
}

bool ColorProfileWriter(const double* xyz, int32_t g, double gamma) {
  if (!xyz || g < 2 || g > 255 || !gIcmEnabled) return false;
  char directory[256];
  uint32_t size = sizeof directory;
  if (!CmsGetColorDirectory(directory, &size)) return false;
  const std::string name = ProfileName();
  const std::string path = std::string(directory) + "\\" + name + ".icm";
  if (!MayWriteProfile(path)) return false;
  if (!WriteWholeFile(path, ScannerProfileBytes(xyz, g, gamma, name.c_str(), gLightSourceFlag != 0,
                                                ProfileClockNow()))) {
    return false;
  }
  if (gServices.scannerProfilesChanged) gServices.scannerProfilesChanged();
  return true;
}

bool CreateLabIdentityProfile(ColorProfileHandle* profile) {
  *profile = nullptr;
  // The module may read the block while a profile is open: it lives on.
  static const IccBytes bytes = LabIdentityProfileBytes(ProfileClockNow());
  const ColorProfileLocation location{kProfileFromMemory, bytes.data(), static_cast<uint32_t>(bytes.size())};
  if (CmsOpenColorProfile(profile, &location, 0) != 0) return false;
  uint8_t valid = 0;
  if (CmsIsColorProfileValid(*profile, &valid) == 0 && valid) return true;
  CmsCloseColorProfile(*profile);
  *profile = nullptr;
  return false;
}
