// The ICC writer: header, tag table and element bytes of both profiles, and
// the scanner profile file with its overwrite question.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "color/color_management.h"
#include "color/profile_writer.h"
#include "color/tests/color_test_support.h"
#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "state/data_source_state.h"

namespace {

constexpr IccDateTime kStamp = {2026, 12, 11, 3, 4, 5};
IccDateTime FixedClock() { return kStamp; }

uint32_t Big32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}
uint16_t Big16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] << 8 | b[at + 1]); }

struct TagEntry {
  uint32_t signature, offset, size;
};
std::vector<TagEntry> TagTable(const std::vector<uint8_t>& p) {
  std::vector<TagEntry> tags;
  for (uint32_t i = 0; i < Big32(p, 128); ++i) {
    tags.push_back({Big32(p, 132 + 12 * i), Big32(p, 136 + 12 * i), Big32(p, 140 + 12 * i)});
  }
  return tags;
}
uint32_t Sig(const char* tag) { return Big32(std::vector<uint8_t>(tag, tag + 4), 0); }
std::vector<uint8_t> ElementOf(const std::vector<uint8_t>& p, const char* tag) {
  for (const TagEntry& t : TagTable(p))
    if (t.signature == Sig(tag)) return {p.begin() + t.offset, p.begin() + t.offset + t.size};
  return {};
}

// A grid whose nodes are a linear mix of r, g, b (0..1) with the white at (1, 1, 1).
std::vector<double> LinearGrid(int g) {
  std::vector<double> xyz;
  for (int r = 0; r < g; ++r)
    for (int gr = 0; gr < g; ++gr)
      for (int b = 0; b < g; ++b) {
        const double R = r / (g - 1.0), G = gr / (g - 1.0), B = b / (g - 1.0);
        xyz.insert(xyz.end(), {0.4 * R + 0.35 * G + 0.25 * B, 0.2 * R + 0.7 * G + 0.1 * B,
                               0.05 * R + 0.15 * G + 0.8 * B});
      }
  return xyz;
}

void ExpectHeader(const std::vector<uint8_t>& p, const char* deviceClass, const char* space, const char* pcs,
                  uint8_t attributes) {
  EXPECT_EQ(Big32(p, 0), p.size());
  EXPECT_EQ(Big32(p, 4), IccSignature("Lino"));
  EXPECT_EQ(Big32(p, 8), 0x02100000u);
  EXPECT_EQ(std::string(&p[12], &p[16]), deviceClass);
  EXPECT_EQ(std::string(&p[16], &p[20]), space);
  EXPECT_EQ(std::string(&p[20], &p[24]), pcs);
  const uint16_t date[6] = {2026, 12, 11, 3, 4, 5};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Big16(p, 24 + 2 * i), date[i]) << "date field " << i;
  EXPECT_EQ(Big32(p, 36), IccSignature("acsp"));
  EXPECT_EQ(Big32(p, 40), IccSignature("MSFT"));
  EXPECT_EQ(Big32(p, 44), 0u) << "flags";
  EXPECT_EQ(Big32(p, 48), IccSignature("MSFT"));
  EXPECT_EQ(Big32(p, 52), 0u) << "model";
  EXPECT_EQ(Big32(p, 56), 0u) << "attributes, high word";
  EXPECT_EQ(Big32(p, 60), attributes);
  EXPECT_EQ(Big32(p, 64), 0u) << "perceptual";
  EXPECT_EQ(Big32(p, 68), 0x0000F6D4u);
  EXPECT_EQ(Big32(p, 72), 0x00010000u);
  EXPECT_EQ(Big32(p, 76), 0x0000D32Bu);
  for (size_t i = 80; i < 128; ++i) EXPECT_EQ(p[i], 0) << "creator and reserved, byte " << i;
}

// The tags in order with their sizes (0: not checked here).
void ExpectTags(const std::vector<uint8_t>& p, const std::vector<std::pair<const char*, uint32_t>>& expected) {
  const std::vector<TagEntry> tags = TagTable(p);
  ASSERT_EQ(tags.size(), expected.size());
  uint32_t end = 132 + 12 * static_cast<uint32_t>(tags.size());
  for (size_t i = 0; i < tags.size(); ++i) {
    EXPECT_EQ(tags[i].signature, Sig(expected[i].first));
    if (expected[i].second) {
      EXPECT_EQ(tags[i].size, expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(tags[i].offset % 4, 0u) << expected[i].first;
    EXPECT_GE(tags[i].offset, end) << expected[i].first << " after the one before";
    end = tags[i].offset + tags[i].size;
  }
  EXPECT_LE(end, p.size());
}

TEST(IccElements, LayoutsAndSizes) {
  const IccBytes desc = DescElement("Abc");
  EXPECT_EQ(desc.size(), 3u + 16);
  EXPECT_EQ(Big32(desc, 0), IccSignature("desc"));
  EXPECT_EQ(Big32(desc, 8), 4u) << "count with the terminator";
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&desc[12])), "Abc");
  EXPECT_EQ(TextElement("Abc", 0).size(), 3u + 9);
  EXPECT_EQ(TextElement("", 12).size(), 12u);
  EXPECT_EQ(XyzElement({0.5, 1.0, 0.25}).size(), 20u);
  EXPECT_EQ(Big32(XyzElement({0.5, 1.0, 0.25}), 8), 0x8000u) << "s15Fixed16";
  EXPECT_EQ(Big32(XyzElement({0.5, 1.0, 0.25}), 16), 0x4000u);

  struct GammaCase {
    double gamma;
    uint16_t stored;
  } cases[] = {{1.8, 461}, {2.2, 563}, {1.0, 256}, {0.0, 460}, {-2.0, 460}};
  for (const GammaCase& c : cases) {
    const IccBytes curve = GammaCurveElement(c.gamma);
    ASSERT_EQ(curve.size(), 16u);
    EXPECT_EQ(Big32(curve, 0), IccSignature("curv"));
    EXPECT_EQ(Big32(curve, 8), 1u);
    EXPECT_EQ(Big16(curve, 12), c.stored) << c.gamma;
  }

  const std::vector<uint16_t> five = IdentityTable(5);
  EXPECT_EQ(five, (std::vector<uint16_t>{0, 16384, 32768, 49151, 65535}));
}

TEST(IccProfiles, LabIdentityProfile) {
  const IccBytes p = LabIdentityProfileBytes(kStamp);
  ExpectHeader(p, "spac", "Lab ", "Lab ", 0);
  ExpectTags(p, {{"desc", 16}, {"wtpt", 20}, {"cprt", 12}, {"A2B0", 3175}, {"B2A0", 3175}});
  const IccBytes lut = ElementOf(p, "A2B0");
  EXPECT_EQ(lut, ElementOf(p, "B2A0"));
  EXPECT_EQ(Big32(lut, 0), IccSignature("mft2"));
  EXPECT_EQ(lut[8], 3);
  EXPECT_EQ(lut[9], 3);
  EXPECT_EQ(lut[10], 2) << "grid points";
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Big32(lut, 12 + 4 * i), i % 4 == 0 ? 0x10000u : 0u) << "matrix " << i;
  EXPECT_EQ(Big16(lut, 48), 256);
  EXPECT_EQ(Big16(lut, 50), 256);
  const std::vector<uint16_t> ramp = IdentityTable(256);
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < 256; ++i) {
      EXPECT_EQ(Big16(lut, 52 + 2 * (256 * c + i)), ramp[i]);
      EXPECT_EQ(Big16(lut, 52 + 2 * (768 + 24 + 256 * c + i)), ramp[i]);
    }
  for (int node = 0; node < 8; ++node)
    for (int c = 0; c < 3; ++c) {
      const int bit = (node >> (2 - c)) & 1;  // the third input fastest
      EXPECT_EQ(Big16(lut, 52 + 2 * (768 + 3 * node + c)), bit ? 65535 : 0) << node << "," << c;
    }
  for (size_t i = 52 + 2 * (768 + 24 + 768); i < lut.size(); ++i) EXPECT_EQ(lut[i], 0);
}

class ScannerProfile : public testing::Test {
 protected:
  void TearDown() override { InstallProfileWriterServices({}); }
};

TEST_F(ScannerProfile, HeaderTagsColorantsCurvesAndGrid) {
  std::vector<double> grid = LinearGrid(3);
  grid[3 * (2 * 9) + 0] = -0.2;  // red's X below 0
  const IccBytes p = ScannerProfileBytes(grid.data(), 3, 2.2, "QB_T (ZIR)", true, kStamp);
  ExpectHeader(p, "scnr", "RGB ", "XYZ ", 1);
  const uint32_t lut = 2 * (3 * 27 + 3 * (256 + 2)) + 55;
  ExpectTags(p, {{"desc", 10 + 16}, {"wtpt", 20}, {"rXYZ", 20}, {"gXYZ", 20}, {"bXYZ", 20}, {"rTRC", 16},
                 {"gTRC", 16}, {"bTRC", 16}, {"cprt", 0}, {"A2B0", lut}, {"A2B1", lut}, {"A2B2", lut}});
  EXPECT_EQ(ElementOf(p, "cprt").size(), std::strlen(reinterpret_cast<const char*>(&ElementOf(p, "cprt")[8])) + 9);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&ElementOf(p, "desc")[12])), "QB_T (ZIR)");
  EXPECT_EQ(ElementOf(p, "wtpt"), XyzElement(kD50));
  EXPECT_EQ(ElementOf(p, "rXYZ"), XyzElement({0.0, 0.2 * 1.0, 0.05 * 0.82487})) << "negative X gives 0";
  EXPECT_EQ(ElementOf(p, "gXYZ"), XyzElement({0.35 * 0.96417, 0.7, 0.15 * 0.82487}));
  EXPECT_EQ(ElementOf(p, "bXYZ"), XyzElement({0.25 * 0.96417, 0.1, 0.8 * 0.82487}));
  for (const char* trc : {"rTRC", "gTRC", "bTRC"}) EXPECT_EQ(ElementOf(p, trc), GammaCurveElement(2.2));

  const IccBytes a2b0 = ElementOf(p, "A2B0");
  EXPECT_EQ(a2b0, ElementOf(p, "A2B1"));
  EXPECT_EQ(a2b0, ElementOf(p, "A2B2"));
  EXPECT_EQ(a2b0[10], 3);
  EXPECT_EQ(Big16(a2b0, 48), 256);
  EXPECT_EQ(Big16(a2b0, 50), 2);
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < 256; ++i) EXPECT_EQ(Big16(a2b0, 52 + 2 * (256 * c + i)), i << 8) << "no grey balance";
  const size_t gridAt = 52 + 2 * 768;
  for (size_t i = 0; i < grid.size(); ++i) {
    const double v = std::trunc(grid[i] * 32768 * kD50[i % 3] + 0.5);
    EXPECT_EQ(Big16(a2b0, gridAt + 2 * i), v < 0 ? 0 : v > 65535 ? 65535 : v) << "node value " << i;
  }
  const size_t outputAt = gridAt + 2 * grid.size();
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(Big16(a2b0, outputAt + 4 * c), 0);
    EXPECT_EQ(Big16(a2b0, outputAt + 4 * c + 2), 65535);
  }
}

TEST_F(ScannerProfile, GreyBalanceInTheInputTablesAndTheFullSize) {
  InstallProfileWriterServices({[](uint16_t* table, int32_t n, int16_t channel) {
                                  for (int32_t i = 0; i < n; ++i) table[i] = static_cast<uint16_t>((i + channel) % n);
                                  return true;
                                },
                                nullptr});
  const std::vector<double> grid = LinearGrid(33);
  const IccBytes p = ScannerProfileBytes(grid.data(), 33, 1.8, "QB_R (ZIR)", false, kStamp);
  const IccBytes a2b0 = ElementOf(p, "A2B0");
  EXPECT_EQ(a2b0.size(), 217225u);
  EXPECT_EQ(Big32(p, 60), 0u) << "reflective";
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(Big16(a2b0, 52 + 2 * (256 * c + 0)), (c + 1) << 8) << "channel " << c + 1;
    EXPECT_EQ(Big16(a2b0, 52 + 2 * (256 * c + 255)), c << 8);
  }
}

class ProfileWriter : public ColorFolderTest {
 protected:
  void SetUp() override {
    ColorFolderTest::SetUp();
    InstallProfileClock(FixedClock);
    grid_ = LinearGrid(5);
  }
  void TearDown() override {
    InstallProfileClock(nullptr);
    InstallProfileWriterServices({});
    ColorFolderTest::TearDown();
  }
  std::string ProfilePath(const char* name) { return colorDirectory_ + "\\" + name + ".icm"; }
  std::vector<double> grid_;
};

TEST_F(ProfileWriter, RefusesWithoutAGridOrColourManagement) {
  EXPECT_FALSE(ColorProfileWriter(nullptr, 5, 1.8));
  EXPECT_FALSE(ColorProfileWriter(grid_.data(), 1, 1.8));
  gIcmEnabled = 0;
  EXPECT_FALSE(ColorProfileWriter(grid_.data(), 5, 1.8));
  EXPECT_FALSE(FileExists(ProfilePath("QB_R (ZIR)").c_str()));
  gIcmEnabled = 1;
  module_.failing = {"GetColorDirectoryA"};
  EXPECT_FALSE(ColorProfileWriter(grid_.data(), 5, 1.8)) << "no colour directory";
}

TEST_F(ProfileWriter, WritesTheNamedFileAndAsksBeforeReplacingIt) {
  static int changed = 0;
  changed = 0;
  InstallProfileWriterServices({nullptr, [] { ++changed; }});
  gLightSourceFlag = 1;
  ASSERT_TRUE(ColorProfileWriter(grid_.data(), 5, 1.8));
  const std::string path = ProfilePath("QB_T (ZIR)");
  EXPECT_EQ(ReadWholeFile(path), ScannerProfileBytes(grid_.data(), 5, 1.8, "QB_T (ZIR)", true, kStamp));
  EXPECT_EQ(changed, 1) << "the cached scanner profiles are stale";

  const std::vector<uint8_t> first = ReadWholeFile(path);
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerCancel);
    EXPECT_FALSE(ColorProfileWriter(grid_.data(), 5, 2.2));
    const PromptRequest& asked = prompts.Asked(0);
    EXPECT_EQ(asked.title, "Warnung");
    EXPECT_EQ(asked.text, "ICC-Profil existiert bereits!\n\xDC" "berschreiben?");
    EXPECT_EQ(asked.titleId, 500u);
    EXPECT_EQ(asked.textId, 1718u);
    EXPECT_EQ(asked.style, kBoxOkCancel | kBoxIconExclamation);
  }
  EXPECT_EQ(ReadWholeFile(path), first) << "a cancelled overwrite keeps the old profile";
  EXPECT_EQ(changed, 1);
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerOk);
    EXPECT_TRUE(ColorProfileWriter(grid_.data(), 5, 2.2));
  }
  EXPECT_EQ(ReadWholeFile(path), ScannerProfileBytes(grid_.data(), 5, 2.2, "QB_T (ZIR)", true, kStamp));
  EXPECT_EQ(changed, 2);
}

TEST_F(ProfileWriter, TheIdentityProfileOpensFromMemory) {
  ColorProfileHandle profile = nullptr;
  ASSERT_TRUE(CreateLabIdentityProfile(&profile));
  ASSERT_NE(profile, nullptr);
  ASSERT_FALSE(module_.opens.empty());
  EXPECT_EQ(module_.opens.back().source, 2u);
  EXPECT_EQ(module_.opens.back().size, LabIdentityProfileBytes(kStamp).size());
  EXPECT_EQ(module_.OpenProfileCount(), 1) << "returned open";
  EXPECT_EQ(CmsCloseColorProfile(profile), 0);

  module_.failing = {"IsColorProfileValid"};
  EXPECT_FALSE(CreateLabIdentityProfile(&profile));
  EXPECT_EQ(profile, nullptr);
  EXPECT_EQ(module_.OpenProfileCount(), 0) << "closed again";
}

// Both profiles as the data source writes them, left in the build tree for
// the independent checks (icc_checks.py).
TEST_F(ProfileWriter, WritesTheProfilesOfTheIndependentChecks) {
  module_.colorDirectory = base_ + "..\\icc_checks";
  CreateFolder((module_.colorDirectory + "\\").c_str());
  DeleteFileAt((module_.colorDirectory + "\\QB_R (ZIR).icm").c_str());
  grid_ = LinearGrid(33);
  ASSERT_TRUE(ColorProfileWriter(grid_.data(), 33, 1.8));
  WriteBytes(module_.colorDirectory + "\\lab_identity.icc", LabIdentityProfileBytes(kStamp));
}

}  // namespace
