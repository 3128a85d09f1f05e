// The RGB basis read from a profile: gamma of its green curve, white point,
// and colorants scaled by white over the header's illuminant.
#include <gtest/gtest.h>

#include "color/color_management.h"
#include "color/tests/color_test_support.h"

namespace {

const RgbBasis kBefore = {1.8f, {0.625f, 0.34f, 0.28f, 0.595f, 0.155f, 0.07f}, {0.3127f, 0.3290f}};

class ProfileRgbBasis : public ColorFolderTest {
 protected:
  std::string Write(const char* name, const std::vector<uint8_t>& bytes) {
    const std::string path = base_ + name;
    WriteBytes(path, bytes);
    return path;
  }
};

void ExpectBasis(const RgbBasis& actual, const RgbBasis& expected, const char* what) {
  EXPECT_NEAR(actual.gamma, expected.gamma, 1e-6) << what;
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(actual.primaries[i], expected.primaries[i], 1e-4) << what << " primary " << i;
  for (int i = 0; i < 2; ++i) EXPECT_NEAR(actual.white[i], expected.white[i], 1e-4) << what << " white " << i;
}

TEST_F(ProfileRgbBasis, TagsGiveGammaWhiteAndScaledColorants) {
  const double d50[3] = {0.96417, 1.0, 0.82487};
  const double doubledX[3] = {2 * 0.96417, 1.0, 0.82487};
  const double red[3] = {0.64, 0.33, 0.03}, green[3] = {0.3, 0.6, 0.1}, blue[3] = {0.15, 0.06, 0.79};
  const std::vector<IccTag> colorants = {{IccSignature("rXYZ"), XyzElement(red)},
                                         {IccSignature("gXYZ"), XyzElement(green)},
                                         {IccSignature("bXYZ"), XyzElement(blue)}};
  struct Case {
    const char* what;
    std::vector<IccTag> tags;
    RgbBasis expected;
  } cases[] = {
      // White equal to the illuminant: the colorants' own chromaticities.
      {"white at the illuminant",
       {{IccSignature("gTRC"), GammaCurveElement(2.2)},
        {IccSignature("wtpt"), XyzElement(d50)},
        colorants[0], colorants[1], colorants[2]},
       {2.2f, {0.64f, 0.33f, 0.3f, 0.6f, 0.15f, 0.06f}, {0.34570f, 0.35854f}}},
      // Twice the illuminant's X: every colorant's X doubles before normalising.
      {"white with doubled X",
       {{IccSignature("wtpt"), XyzElement(doubledX)}, colorants[0], colorants[1], colorants[2]},
       {1.8f, {1.28f / 1.64f, 0.33f / 1.64f, 0.6f / 1.3f, 0.6f / 1.3f, 0.3f / 1.15f, 0.06f / 1.15f},
        {0.51379f, 0.26643f}}},
      // Missing tags keep what the basis held.
      {"only a red colorant", {colorants[0]}, {1.8f, {0.64f, 0.33f, 0.28f, 0.595f, 0.155f, 0.07f}, {0.3127f, 0.3290f}}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = Write(("case" + std::to_string(n++) + ".icc").c_str(), ProfileWithTags(c.tags));
    RgbBasis basis = kBefore;
    ASSERT_TRUE(ReadProfileRgbBasis(path.c_str(), &basis)) << c.what;
    ExpectBasis(basis, c.expected, c.what);
  }
  EXPECT_EQ(module_.OpenProfileCount(), 0) << "every profile is closed again";
}

TEST_F(ProfileRgbBasis, UnreadableProfilesLeaveTheBasisAlone) {
  std::vector<uint8_t> noIlluminant = ProfileWithTags({{IccSignature("gTRC"), GammaCurveElement(2.2)}});
  std::fill(noIlluminant.begin() + 68, noIlluminant.begin() + 80, 0);
  const std::string paths[] = {base_ + "missing.icc", Write("noilluminant.icc", noIlluminant)};
  for (const std::string& path : paths) {
    RgbBasis basis = kBefore;
    EXPECT_FALSE(ReadProfileRgbBasis(path.c_str(), &basis)) << path;
    ExpectBasis(basis, kBefore, path.c_str());
  }
  EXPECT_EQ(module_.OpenProfileCount(), 0);
}

}  // namespace
