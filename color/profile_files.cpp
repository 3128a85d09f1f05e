#include "color/profile_files.h"

#include <cctype>
#include <cmath>
#include <cstring>

#include "color/color_management.h"
#include "foundation/file_io.h"
#include "foundation/least_squares.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

constexpr uint32_t kDescriptionTag = 0x64657363;  // 'desc'
constexpr uint32_t kGreyTrcTag = 0x67545243;      // 'gTRC'
constexpr uint32_t kCurveType = 0x63757276;       // 'curv'
constexpr uint32_t kCmykSpace = 0x434D594B;       // 'CMYK'
constexpr uint32_t kPrinterClass = 0x70727472;    // 'prtr'
constexpr size_t kDescriptionTextOffset = 12;
constexpr size_t kCurveEntriesOffset = 12;
constexpr int kComboSectionLimit = 255;
constexpr size_t kPathSize = 260;

NameNode* gSeparationList = nullptr;
PathPairNode* gFolderCmykList = nullptr;
PathPairNode* gPrinterCmykList = nullptr;

bool EqualsIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  }
  return *a == *b;
}

const char* LastExtension(const char* name) {
  const char* dot = std::strrchr(name, '.');
  return dot ? dot : name + std::strlen(name);
}

// "*.ast" and "*.ic?" as the system matches them: the extension, ignoring case.
bool IsSeparationTableName(const char* name) { return EqualsIgnoringCase(LastExtension(name), ".ast"); }
bool IsProfileFileName(const char* name) {
  const char* extension = LastExtension(name);
  return std::strlen(extension) == 4 && std::tolower(static_cast<unsigned char>(extension[1])) == 'i' &&
         std::tolower(static_cast<unsigned char>(extension[2])) == 'c';
}

uint32_t U32At(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
         p[3];
}

// The file name without its last extension.
std::string BareFileName(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  std::string text(name);
  const size_t dot = text.rfind('.');
  return dot == std::string::npos ? text : text.substr(0, dot);
}

std::vector<std::string> FilesOf(const char* folder, bool (*accept)(const char*)) {
  struct Visit {
    bool (*accept)(const char*);
    std::vector<std::string> names;
  } visit{accept, {}};
  ForEachFileInFolder(
      folder,
      [](const char* name, void* context) {
        auto* v = static_cast<Visit*>(context);
        if (v->accept(name)) v->names.emplace_back(name);
      },
      &visit);
  return visit.names;
}

// Opens the profile file and reads its header; null when either fails.
ColorProfileHandle OpenWithHeader(const std::string& path, ColorProfileHeader* header) {
  ColorProfileHandle profile = nullptr;
  const ColorProfileLocation location = FileProfileLocation(path.c_str());
  if (CmsOpenColorProfile(&profile, &location, 0) != 0) return nullptr;
  if (CmsGetColorProfileHeader(profile, header) != 0) {
    CmsCloseColorProfile(profile);
    return nullptr;
  }
  return profile;
}

std::string DescriptionOrName(ColorProfileHandle profile, const std::string& path) {
  std::string text = ProfileDescription(profile);
  return text.empty() ? BareFileName(path.c_str()) : text;
}

bool ColorDirectory(char* directory) {
  uint32_t size = 256;
  return CmsGetColorDirectory(directory, &size);
}

void InsertSorted(std::vector<ProfileComboEntry>& entries, size_t sectionStart, ProfileComboEntry entry) {
  size_t at = sectionStart;
  while (at < entries.size() && std::strcmp(entries[at].text.c_str(), entry.text.c_str()) <= 0) ++at;
  entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

void AddPairSection(std::vector<ProfileComboEntry>& entries, const PathPairNode* list, uint32_t step) {
  if (!list) return;
  entries.push_back({"", kProfileComboSeparator});
  const size_t start = entries.size();
  uint32_t n = 1;
  for (const PathPairNode* node = list; node && n <= kComboSectionLimit; node = node->next, ++n) {
    InsertSorted(entries, start, {node->first, n * step});
  }
}

const char* CurrentScannerProfile() {
  const DefaultsArea area = gLightSourceFlag ? kDefaultScannerProfileTransparency : kDefaultScannerProfileReflective;
  return reinterpret_cast<const char*>(DefaultsBytes(gDefaults, area));
}

const char* DefaultsText(DefaultsArea area) { return reinterpret_cast<const char*>(DefaultsBytes(gDefaults, area)); }

void CopyPath(char* out, const char* text) {
  const size_t length = strnlen(text, kPathSize - 1);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

double TwoDecimals(double v) { return std::trunc(v * 100 + 0.5) * 0.01; }

// The slope of ln(y) over ln(x) of the curve's points; false when it cannot be fitted.
bool CurveSlope(const uint8_t* entries, uint32_t n, double* slope) {
  PolyModel* model = CreatePolyModel(0, 1, 1);
  PolySampleSet* samples = CreatePolySampleSet(static_cast<int>(n), 1);
  bool fitted = false;
  if (model && samples) {
    for (uint32_t i = 0; i < n; ++i) {
      const double x = static_cast<double>(i) / (n - 1);
      const double y = (entries[2 * i] << 8 | entries[2 * i + 1]) / 65535.0;
      if (x > 0.000001 && y > 0.000001) {
        const double lx = std::log(x);
        AddPolySample(samples, &lx, std::log(y));
      }
    }
    fitted = FitPolynomialLeastSquares(model, samples);
    if (fitted) *slope = PolyCoefficients(model)[1];
  }
  FreePolyBlock(model);
  FreePolyBlock(samples);
  return fitted;
}

}  // namespace

bool IsIccExtension(const char* extension) {
  return std::strcmp(extension, ".icm") == 0 || std::strcmp(extension, ".icc") == 0;
}

int16_t ReadProfileElement(ColorProfileHandle profile, uint32_t tag, std::vector<uint8_t>* element) {
  element->clear();
  uint32_t size = 0;
  int16_t status = CmsGetColorProfileElement(profile, tag, &size, nullptr);
  if (status != 0) return status;
  element->resize(size);
  status = CmsGetColorProfileElement(profile, tag, &size, element->data());
  if (status != 0 || size > element->size()) {
    element->clear();
    return status != 0 ? status : kColorCallError;
  }
  element->resize(size);
  return 0;
}

std::string ProfileDescription(ColorProfileHandle profile) {
  std::vector<uint8_t> element;
  if (ReadProfileElement(profile, kDescriptionTag, &element) != 0 || element.size() <= kDescriptionTextOffset) {
    return "";
  }
  const char* text = reinterpret_cast<const char*>(element.data() + kDescriptionTextOffset);
  return std::string(text, strnlen(text, element.size() - kDescriptionTextOffset));
}

bool GetSeparationFolder(char* folder) {
  if (!GetSettingsFolder(folder)) return false;
  if (std::strlen(folder) + std::strlen("PPCMYK Profile\\") >= 256) return false;
  std::strcat(folder, "PPCMYK Profile\\");
  return true;
}

PathPairNode* EnumerateColorProfiles(uint32_t deviceClass, uint32_t colorSpace, uint32_t flags, PathPairNode* head) {
  char directory[256];
  if (!IsColorSystemLoaded() || !ColorDirectory(directory)) return head;
  if ((flags & (kMatchDeviceClass | kMatchColorSpace)) == 0) return head;
  for (const std::string& name : FilesOf(directory, IsProfileFileName)) {
    const std::string path = std::string(directory) + "\\" + name;
    ColorProfileHeader header;
    ColorProfileHandle profile = OpenWithHeader(path, &header);
    if (!profile) continue;
    const bool matches = (!(flags & kMatchDeviceClass) || header.deviceClass == deviceClass) &&
                         (!(flags & kMatchColorSpace) || header.dataColorSpace == colorSpace);
    if (matches) head = PushPathPair(head, path.c_str(), DescriptionOrName(profile, path).c_str());
    CmsCloseColorProfile(profile);
  }
  return head;
}

const NameNode* SeparationList() {
  char folder[256];
  if (!gSeparationList && GetSeparationFolder(folder)) {
    for (const std::string& name : FilesOf(folder, IsSeparationTableName)) {
      gSeparationList = PushNameNode(gSeparationList, name.c_str());
    }
  }
  return gSeparationList;
}

const PathPairNode* FolderCmykList() {
  char folder[256];
  if (gIcmEnabled && !gFolderCmykList && GetSeparationFolder(folder)) {
    for (const std::string& name : FilesOf(folder, IsProfileFileName)) {
      const std::string path = folder + name;
      ColorProfileHeader header;
      ColorProfileHandle profile = OpenWithHeader(path, &header);
      if (!profile) continue;
      if (header.dataColorSpace == kCmykSpace) {
        gFolderCmykList = PushPathPair(gFolderCmykList, path.c_str(), DescriptionOrName(profile, path).c_str());
      }
      CmsCloseColorProfile(profile);
    }
  }
  return gFolderCmykList;
}

const PathPairNode* PrinterCmykList() {
  if (gIcmEnabled && !gPrinterCmykList) {
    gPrinterCmykList = EnumerateColorProfiles(kPrinterClass, kCmykSpace, kMatchDeviceClass | kMatchColorSpace, nullptr);
  }
  return gPrinterCmykList;
}

void FreeProfileLists() {
  FreeNameList(&gSeparationList);
  FreePathPairList(&gFolderCmykList);
  FreePathPairList(&gPrinterCmykList);
}

std::vector<ProfileComboEntry> ProfileComboEntries() {
  const NameNode* separations = SeparationList();
  const PathPairNode* folder = FolderCmykList();
  const PathPairNode* printer = PrinterCmykList();
  char none[256];
  if (LoadResourceString(gResModule, kKeinCmykString, none, sizeof none) <= 0) none[0] = '\0';
  std::vector<ProfileComboEntry> entries = {{none, 0}};
  for (const NameNode* node = separations; node; node = node->next) InsertSorted(entries, 1, {node->text, 0});
  AddPairSection(entries, folder, 1);
  AddPairSection(entries, printer, 256);
  return entries;
}

bool FindCmykProfileFile(char* path, char* extension) {
  char folder[256];
  if (!GetSeparationFolder(folder)) return false;
  const char* name = DefaultsText(kDefaultCmykSourceName);
  char found[kPathSize];
  CopyPath(found, (std::string(folder) + name).c_str());
  int position = 0;
  const bool table = FindNameInList(name, SeparationList(), &position);
  const PathPairNode* folderList = FolderCmykList();
  if (!table && !FindPathByFileName(name, folderList, found) && !FindPathByFileName(name, PrinterCmykList(), found)) {
    return false;
  }
  if (path) CopyPath(path, found);
  if (extension) {
    std::string lower = LastExtension(found);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    CopyPath(extension, lower.c_str());
  }
  return true;
}

int EmbeddedProfileKind(const FrameRecord* frame) {
  const int16_t input = GetDefault(gDefaults, kDefaultInputCmsMode);
  const int16_t output = GetDefault(gDefaults, kDefaultOutputCmsMode);
  const bool scannerSide = input >= 2 && input <= 4;
  if (frame->bitsPerChannel == 16 && frame->bitDepthChoice != 0) {
    return input == 1 ? kEmbedScanner : scannerSide ? kEmbedInternal : kEmbedNone;
  }
  switch (output) {
    case 2:
      return kEmbedOutput;
    case 5:
      return kEmbedCmyk;
    case 1:
      if (GetDefault(gDefaults, kDefaultNegativeMode)) {
        return DefaultsText(kDefaultInternalProfile)[0] ? kEmbedInternal : kEmbedNone;
      }
      if (input == 1) return CurrentScannerProfile()[0] ? kEmbedScanner : kEmbedInternal;
      return scannerSide ? kEmbedInternal : kEmbedNone;
    default:
      return kEmbedNone;
  }
}

void EmbeddedProfilePath(const FrameRecord* frame, char* path) {
  path[0] = '\0';
  switch (EmbeddedProfileKind(frame)) {
    case kEmbedScanner:
      CopyPath(path, CurrentScannerProfile());
      break;
    case kEmbedInternal:
      CopyPath(path, DefaultsText(kDefaultInternalProfile));
      break;
    case kEmbedOutput:
      CopyPath(path, DefaultsText(kDefaultOutputProfile));
      break;
    case kEmbedCmyk: {
      char extension[kPathSize];
      if (!FindCmykProfileFile(path, extension) || !IsIccExtension(extension)) path[0] = '\0';
      break;
    }
    default:
      break;
  }
}

void LoadEmbeddedProfile(const FrameRecord* frame, MemHandle* bytes, uint32_t* size, ColorProfileHandle* profile) {
  *bytes = nullptr;
  *size = 0;
  *profile = nullptr;
  char path[kPathSize];
  EmbeddedProfilePath(frame, path);
  ColorProfileHandle file = nullptr;
  const ColorProfileLocation location = FileProfileLocation(path);
  if (path[0] == '\0' || CmsOpenColorProfile(&file, &location, 0) != 0) return;
  uint32_t length = 0;
  bool loaded = CmsGetColorProfileFromHandle(file, &length, nullptr) == 0 && length > 0 &&
                (*bytes = NewMemHandle(length)) != nullptr &&
                CmsGetColorProfileFromHandle(file, &length, (*bytes)->data) == 0 && length <= (*bytes)->size;
  if (loaded) {
    const ColorProfileLocation memory{kProfileFromMemory, (*bytes)->data, length};
    loaded = CmsOpenColorProfile(profile, &memory, 0) == 0;
  }
  CmsCloseColorProfile(file);
  if (loaded) {
    *size = length;
  } else {
    FreeEmbeddedProfile(bytes, profile);
  }
}

void FreeEmbeddedProfile(MemHandle* bytes, ColorProfileHandle* profile) {
  if (*profile) CmsCloseColorProfile(*profile);
  *profile = nullptr;
  if (*bytes) DisposeMemHandle(*bytes);
  *bytes = nullptr;
}

int16_t OpenMonitorProfile(void* window, ColorProfileHandle* profile) {
  *profile = nullptr;
  if (!IsColorSystemLoaded()) return kColorCallError;
  char path[256] = "";
  const bool fromHost = gSession && gSession->hostSignature == kHostSignature8bim && HostMonitorProfilePath(path);
  if (!fromHost && !DisplayProfilePath(window, path) && !CmsGetStandardColorSpaceProfile(path, sizeof path)) {
    return kColorCallError;
  }
  const ColorProfileLocation location = FileProfileLocation(path);
  return CmsOpenColorProfile(profile, &location, 0);
}

int16_t ProfileGammaFromTrc(float* gamma, ColorProfileHandle profile) {
  std::vector<uint8_t> element;
  const int16_t status = ReadProfileElement(profile, kGreyTrcTag, &element);
  if (status != 0) return status;
  if (element.size() < kCurveEntriesOffset || U32At(element.data()) != kCurveType) return 0;
  const uint32_t n = U32At(element.data() + 8);
  // A count the element cannot hold would read past it.
  if (n > (element.size() - kCurveEntriesOffset) / 2) return kColorCallError;
  const uint8_t* entries = element.data() + kCurveEntriesOffset;
  if (n == 0) {
    *gamma = 1.0f;
  } else if (n == 1) {
    *gamma = static_cast<float>(TwoDecimals((entries[0] << 8 | entries[1]) / 256.0));
  } else {
    *gamma = 1.0f;
    double slope = 0;
    if (CurveSlope(entries, n, &slope) && slope > 0.9 && slope < 5.0) *gamma = static_cast<float>(TwoDecimals(slope));
  }
  return 0;
}
