// Profile files and lists: enumeration of the colour directory, the cached
// CMYK lists and the combo built from them, resolution of the CMYK name, the
// embedded profile, the monitor profile and the gamma of a tone curve.
#include "color/profile_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "color/color_management.h"
#include "color/tests/color_test_support.h"
#include "foundation/file_io.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

std::vector<std::string> FolderOrder(const std::string& folder) {
  std::vector<std::string> names;
  ForEachFileInFolder(
      folder.c_str(), [](const char* name, void* c) { static_cast<std::vector<std::string>*>(c)->push_back(name); },
      &names);
  return names;
}

std::vector<std::pair<std::string, std::string>> Pairs(const PathPairNode* node) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (; node; node = node->next) pairs.emplace_back(node->first, node->path);
  return pairs;
}

void SetText(DefaultsArea area, const std::string& text) {
  std::memset(DefaultsBytes(gDefaults, area), 0, area.size);
  std::memcpy(DefaultsBytes(gDefaults, area), text.data(), text.size());
}

class ProfileFiles : public ColorFolderTest {
 protected:
  void TearDown() override {
    FreeProfileLists();
    ColorFolderTest::TearDown();
  }
  void Put(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteBytes(folder + name, bytes);
  }
  std::string dir() const { return colorDirectory_ + "\\"; }
};

TEST_F(ProfileFiles, EnumerationMatchesClassAndSpaceAndPrepends) {
  Put(dir(), "a.icm", SmallProfile("prtr", "CMYK", "Alpha"));
  Put(dir(), "b.ic1", SmallProfile("prtr", "CMYK", "Alpha"));
  Put(dir(), "c.icc", SmallProfile("mntr", "RGB ", "Gamma"));
  Put(dir(), "f.ICM", SmallProfile("prtr", "RGB ", ""));
  Put(dir(), "d.txt", SmallProfile("prtr", "CMYK", "Text"));
  Put(dir(), "e.icm", {1, 2, 3});
  auto expected = [&](bool (*keep)(const std::string&)) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const std::string& name : FolderOrder(dir())) {
      if (!keep(name)) continue;
      const std::string description = name == "c.icc" ? "Gamma" : name == "f.ICM" ? "f" : "Alpha";
      pairs.insert(pairs.begin(), {description, colorDirectory_ + "\\" + name});
    }
    return pairs;
  };
  PathPairNode* printers = EnumerateColorProfiles(IccSignature("prtr"), 0, kMatchDeviceClass, nullptr);
  EXPECT_EQ(Pairs(printers),
            expected([](const std::string& n) { return n == "a.icm" || n == "b.ic1" || n == "f.ICM"; }))
      << "reverse order; .ic1 found; a missing description gives the file name";
  PathPairNode* cmyk = EnumerateColorProfiles(0, IccSignature("CMYK"), kMatchColorSpace, nullptr);
  EXPECT_EQ(Pairs(cmyk), expected([](const std::string& n) { return n == "a.icm" || n == "b.ic1"; }))
      << "the same description twice";
  PathPairNode* both =
      EnumerateColorProfiles(IccSignature("prtr"), IccSignature("RGB "), kMatchDeviceClass | kMatchColorSpace, nullptr);
  EXPECT_EQ(Pairs(both), expected([](const std::string& n) { return n == "f.ICM"; }));
  EXPECT_EQ(module_.OpenProfileCount(), 0) << "every profile closed";

  PathPairNode* head = PushPathPair(nullptr, "x", "y");
  EXPECT_EQ(EnumerateColorProfiles(IccSignature("prtr"), IccSignature("CMYK"), 0, head), head)
      << "neither flag: unchanged";
  ColorSystemUnload();
  EXPECT_EQ(EnumerateColorProfiles(IccSignature("prtr"), IccSignature("CMYK"), 96, head), head) << "no module";
  for (PathPairNode* list : {printers, cmyk, both, head}) FreePathPairList(&list);
}

TEST_F(ProfileFiles, ListsAreBuiltOnceAndTheComboSortsEachSection) {
  for (const char* name : {"b.ast", "B2.ast", "a.ast", "notes.txt"}) Put(separationFolder_, name, {0});
  Put(separationFolder_, "zeta.icc", SmallProfile("prtr", "CMYK", "Zeta"));
  Put(separationFolder_, "eta.icm", SmallProfile("prtr", "CMYK", "Eta"));
  Put(separationFolder_, "rgb.icm", SmallProfile("prtr", "RGB ", "Rgb"));
  Put(dir(), "press.icm", SmallProfile("prtr", "CMYK", "Press"));
  Put(dir(), "proof.icm", SmallProfile("mntr", "CMYK", "Proof"));

  gIcmEnabled = 0;
  EXPECT_EQ(FolderCmykList(), nullptr) << "colour management off";
  EXPECT_EQ(PrinterCmykList(), nullptr);
  gIcmEnabled = 1;

  const std::vector<ProfileComboEntry> entries = ProfileComboEntries();
  std::vector<std::pair<std::string, uint32_t>> got;
  for (const ProfileComboEntry& e : entries) got.emplace_back(e.text, e.data);
  // The folder list numbers its nodes in list order, the reverse of the folder's.
  uint32_t zeta = 0, eta = 0, n = 1;
  for (const PathPairNode* node = FolderCmykList(); node; node = node->next, ++n) {
    (std::string(node->first) == "Zeta" ? zeta : eta) = n;
  }
  const std::vector<std::pair<std::string, uint32_t>> expected = {{"Kein CMYK", 0}, {"B2.ast", 0}, {"a.ast", 0},
                                                                  {"b.ast", 0},     {"", 0x90000}, {"Eta", eta},
                                                                  {"Zeta", zeta},   {"", 0x90000}, {"Press", 256}};
  EXPECT_EQ(got, expected);

  Put(separationFolder_, "late.ast", {0});
  int position = 0;
  EXPECT_FALSE(FindNameInList("late.ast", SeparationList(), &position)) << "kept until the session ends";
  FreeProfileLists();
  EXPECT_TRUE(FindNameInList("late.ast", SeparationList(), &position));
}

TEST_F(ProfileFiles, TheComboTakesAtMost255ProfilesOfAList) {
  for (int i = 0; i < 300; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "p%03d.icc", i);
    Put(separationFolder_, name, SmallProfile("prtr", "CMYK", name));
  }
  const std::vector<ProfileComboEntry> entries = ProfileComboEntries();
  ASSERT_EQ(entries.size(), 2u + 255);
  uint32_t highest = 0;
  for (const ProfileComboEntry& e : entries) highest = std::max(highest, e.data == 0x90000 ? 0 : e.data);
  EXPECT_EQ(highest, 255u);
}

TEST_F(ProfileFiles, TheCmykNameResolvesExactlyForTablesAndIgnoringCaseForProfiles) {
  Put(separationFolder_, "Euro.ast", {0});
  Put(separationFolder_, "myprof.icc", SmallProfile("prtr", "CMYK", "Mine"));
  Put(dir(), "press.icm", SmallProfile("prtr", "CMYK", "Press"));
  struct Case {
    const char* name;
    bool found;
    std::string path;
    const char* extension;
  } cases[] = {
      {"Euro.ast", true, separationFolder_ + "Euro.ast", ".ast"},
      {"EURO.AST", false, "", ""},
      {"MYPROF.ICC", true, separationFolder_ + "myprof.icc", ".icc"},
      {"Press.ICM", true, colorDirectory_ + "\\press.icm", ".icm"},
      {"other.icm", false, "", ""},
  };
  for (const Case& c : cases) {
    SetText(kDefaultCmykSourceName, c.name);
    char path[260] = "unchanged", extension[260] = "";
    EXPECT_EQ(FindCmykProfileFile(path, extension), c.found) << c.name;
    if (!c.found) continue;
    EXPECT_EQ(std::string(path), c.path) << c.name;
    EXPECT_EQ(std::string(extension), c.extension) << c.name;
  }
  SetText(kDefaultCmykSourceName, "Euro.ast");
  EXPECT_TRUE(FindCmykProfileFile(nullptr, nullptr));
}

TEST_F(ProfileFiles, EmbeddedProfileKindAndPath) {
  struct Case {
    uint8_t bits, choice;
    int16_t input, output;
    uint8_t negative, transparency;
    bool scannerPath, internalPath;
    int kind;
  } cases[] = {
      {16, 1, 1, 2, 0, 0, false, true, 1},  // 16-bit with byte 2049: by the input mode
      {16, 1, 3, 2, 0, 0, false, true, 2},
      {16, 1, 5, 2, 0, 0, false, true, 0},
      {16, 0, 1, 2, 0, 0, true, true, 3},  // byte 2049 clear: by the output mode
      {8, 0, 1, 5, 0, 0, true, true, 4},
      {8, 0, 1, 1, 1, 0, true, true, 2},  // negative: the internal profile when set
      {8, 0, 1, 1, 1, 0, true, false, 0},
      {8, 0, 1, 1, 0, 0, true, true, 1},
      {8, 0, 1, 1, 0, 0, false, true, 2},  // no scanner profile: the internal one
      {8, 0, 1, 1, 0, 1, true, true, 1},   // the transparency's profile
      {8, 0, 4, 1, 0, 0, true, true, 2},
      {8, 0, 6, 1, 0, 0, true, true, 0},
      {8, 0, 1, 3, 0, 0, true, true, 0},
  };
  Put(separationFolder_, "Euro.ast", {0});
  SetText(kDefaultCmykSourceName, "Euro.ast");
  for (const Case& c : cases) {
    FrameRecord frame{};
    frame.bitsPerChannel = c.bits;
    frame.bitDepthChoice = c.choice;
    SetDefault(gDefaults, kDefaultInputCmsMode, c.input);
    SetDefault(gDefaults, kDefaultOutputCmsMode, c.output);
    SetDefault(gDefaults, kDefaultNegativeMode, c.negative);
    gLightSourceFlag = c.transparency;
    SetText(c.transparency ? kDefaultScannerProfileTransparency : kDefaultScannerProfileReflective,
            c.scannerPath ? "scanner.icm" : "");
    SetText(c.transparency ? kDefaultScannerProfileReflective : kDefaultScannerProfileTransparency, "other.icm");
    SetText(kDefaultInternalProfile, c.internalPath ? "internal.icm" : "");
    SetText(kDefaultOutputProfile, "output.icm");
    const int kind = EmbeddedProfileKind(&frame);
    EXPECT_EQ(kind, c.kind) << int{c.bits} << "/" << int{c.choice} << " in " << c.input << " out " << c.output
                            << " negative " << int{c.negative};
    char path[260] = "x";
    EmbeddedProfilePath(&frame, path);
    const char* expected[] = {"", c.scannerPath ? "scanner.icm" : "", "internal.icm", "output.icm", ""};
    EXPECT_EQ(std::string(path), expected[kind]) << "a separation table is never embedded";
  }
}

TEST_F(ProfileFiles, TheEmbeddedProfileIsLoadedWholeAndOpenedFromMemory) {
  const std::vector<uint8_t> bytes = SmallProfile("mntr", "RGB ", "Output");
  Put(dir(), "out.icm", bytes);
  FrameRecord frame{};
  SetDefault<int16_t>(gDefaults, kDefaultOutputCmsMode, 2);
  SetText(kDefaultOutputProfile, colorDirectory_ + "\\out.icm");
  MemHandle block = nullptr;
  uint32_t size = 99;
  ColorProfileHandle profile = nullptr;
  LoadEmbeddedProfile(&frame, &block, &size, &profile);
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(size, bytes.size());
  EXPECT_EQ(std::vector<uint8_t>(block->data, block->data + size), bytes);
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ(module_.opens.back().source, 2u);
  EXPECT_EQ(module_.OpenProfileCount(), 1) << "the file profile is closed, the memory one open";
  FreeEmbeddedProfile(&block, &profile);
  EXPECT_EQ(block, nullptr);
  EXPECT_EQ(profile, nullptr);
  EXPECT_EQ(module_.OpenProfileCount(), 0);

  module_.failing = {"GetColorProfileFromHandle"};
  LoadEmbeddedProfile(&frame, &block, &size, &profile);
  EXPECT_EQ(block, nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(profile, nullptr);
  EXPECT_EQ(module_.OpenProfileCount(), 0);
}

TEST_F(ProfileFiles, TheMonitorProfileFallsBackToTheStandardProfile) {
  Put(dir(), "srgb.icm", SmallProfile("mntr", "RGB ", "sRGB"));
  ColorProfileHandle profile = nullptr;
  char display[256];
  if (DisplayProfilePath(nullptr, display)) {
    // The screen names a profile: that one is opened, the standard profile never asked.
    module_.standardProfile = colorDirectory_ + "\\srgb.icm";
    EXPECT_EQ(OpenMonitorProfile(nullptr, &profile), FileExists(display) ? 0 : -176);
    EXPECT_EQ(module_.opens.back().path, display);
    if (profile) CmsCloseColorProfile(profile);
    return;
  }
  EXPECT_EQ(OpenMonitorProfile(nullptr, &profile), -170) << "no path at all";
  module_.standardProfile = colorDirectory_ + "\\srgb.icm";
  EXPECT_EQ(OpenMonitorProfile(nullptr, &profile), 0);
  EXPECT_EQ(module_.opens.back().path, module_.standardProfile);
  EXPECT_EQ(module_.opens.back().access, 1u);
  CmsCloseColorProfile(profile);
  module_.standardProfile = colorDirectory_ + "\\none.icm";
  EXPECT_EQ(OpenMonitorProfile(nullptr, &profile), -176);
  ColorSystemUnload();
  EXPECT_EQ(OpenMonitorProfile(nullptr, &profile), -170);
}

std::vector<uint8_t> Curve(const std::vector<uint16_t>& entries, uint32_t count) {
  std::vector<uint8_t> payload = {static_cast<uint8_t>(count >> 24), static_cast<uint8_t>(count >> 16),
                                  static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
  for (uint16_t v : entries) payload.insert(payload.end(), {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
  return Element("curv", payload);
}

// The least-squares slope of ln(y) over ln(x), rounded to two decimals.
float FittedGamma(const std::vector<uint16_t>& entries) {
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  int m = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const double x = static_cast<double>(i) / (entries.size() - 1), y = entries[i] / 65535.0;
    if (x <= 0.000001 || y <= 0.000001) continue;
    sx += std::log(x), sy += std::log(y), sxx += std::log(x) * std::log(x), sxy += std::log(x) * std::log(y);
    ++m;
  }
  const double slope = (m * sxy - sx * sy) / (m * sxx - sx * sx);
  return static_cast<float>(std::trunc(slope * 100 + 0.5) * 0.01);
}

std::vector<uint16_t> PowerCurve(int n, double gamma) {
  std::vector<uint16_t> entries;
  for (int i = 0; i < n; ++i)
    entries.push_back(static_cast<uint16_t>(std::lround(std::pow(i / (n - 1.0), gamma) * 65535)));
  return entries;
}

TEST_F(ProfileFiles, GammaOfTheGreyCurve) {
  struct Case {
    const char* what;
    std::vector<uint8_t> element;  // empty: no gTRC tag
    int16_t status;
    float gamma;  // the result; 7 where it stays
  } cases[] = {
      {"no entries", Curve({}, 0), 0, 1.0f},
      {"one entry", Curve({461}, 1), 0, 1.8f},
      {"one entry, 2.2", Curve({563}, 1), 0, 2.2f},
      {"a 2.2 power curve", Curve(PowerCurve(256, 2.2), 256), 0, FittedGamma(PowerCurve(256, 2.2))},
      {"a 1.8 power curve", Curve(PowerCurve(16, 1.8), 16), 0, FittedGamma(PowerCurve(16, 1.8))},
      {"a slope below 0.9", Curve(PowerCurve(64, 0.5), 64), 0, 1.0f},
      {"a slope above 5", Curve(PowerCurve(64, 6.0), 64), 0, 1.0f},
      {"a count beyond the element", Curve({1, 2}, 3), -170, 7.0f},
      {"another curve type", Element("para", {0, 0, 0, 0, 0, 2, 0, 0}), 0, 7.0f},
      {"no gTRC", {}, -170, 7.0f},
  };
  for (const Case& c : cases) {
    std::vector<IccTag> tags;
    if (!c.element.empty()) tags.push_back({IccSignature("gTRC"), c.element});
    const std::vector<uint8_t> bytes = ProfileWithTags(tags);
    const ColorProfileLocation location{kProfileFromMemory, bytes.data(), static_cast<uint32_t>(bytes.size())};
    ColorProfileHandle profile = nullptr;
    ASSERT_EQ(CmsOpenColorProfile(&profile, &location, 0), 0);
    float gamma = 7.0f;
    EXPECT_EQ(ProfileGammaFromTrc(&gamma, profile), c.status) << c.what;
    EXPECT_NEAR(gamma, c.gamma, 1e-6) << c.what;
    CmsCloseColorProfile(profile);
  }
}

TEST_F(ProfileFiles, TheDescriptionEndsWithItsElement) {
  std::vector<uint8_t> payload = {0, 0, 0, 9};
  for (char ch : std::string("Unbounded")) payload.push_back(static_cast<uint8_t>(ch));
  const std::vector<uint8_t> bytes = ProfileWithTags({{IccSignature("desc"), Element("desc", payload)},
                                                      {IccSignature("wtpt"), Element("XYZ ", {'Z', 'Z', 'Z', 'Z'})}});
  const ColorProfileLocation location{kProfileFromMemory, bytes.data(), static_cast<uint32_t>(bytes.size())};
  ColorProfileHandle profile = nullptr;
  ASSERT_EQ(CmsOpenColorProfile(&profile, &location, 0), 0);
  EXPECT_EQ(ProfileDescription(profile), "Unbounded");
  CmsCloseColorProfile(profile);
}

}  // namespace
