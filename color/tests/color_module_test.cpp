// The module binding: loading by name, the values it adds to each call, its
// status codes, and soft failure when the module or a function is missing.
#include "color/color_module.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "color/tests/color_test_support.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

ColorProfileHandle Sentinel() { return reinterpret_cast<ColorProfileHandle>(uintptr_t{0x1234}); }
ColorTransformHandle TransformSentinel() { return reinterpret_cast<ColorTransformHandle>(uintptr_t{0x1234}); }

// Every wrapper once; each returns its status (0, a code, or 1/0 for the boolean ones).
struct WrapperCase {
  const char* function;
  int expected;
  std::function<int()> call;
};

std::vector<WrapperCase> AllWrappers(ColorProfileHandle* profile, ColorTransformHandle* transform, uint8_t* output) {
  static const char path[] = "x.icm";
  static uint8_t input[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  return {
      {"GetColorDirectoryA", 0,
       [] {
         char b[256];
         uint32_t s = 256;
         return int{CmsGetColorDirectory(b, &s)};
       }},
      {"OpenColorProfileA", -176,
       [=] {
         auto l = FileProfileLocation(path);
         return int{CmsOpenColorProfile(profile, &l, 0)};
       }},
      {"OpenColorProfileA", -170,
       [=] {
         auto l = FileProfileLocation(path);
         return int{CmsCreateColorProfile(profile, &l)};
       }},
      {"GetColorProfileHeader", -170,
       [] {
         ColorProfileHeader h;
         return int{CmsGetColorProfileHeader(Sentinel(), &h)};
       }},
      {"SetColorProfileHeader", -170,
       [] {
         ColorProfileHeader h{};
         return int{CmsSetColorProfileHeader(Sentinel(), &h)};
       }},
      {"GetColorProfileElement", -170,
       [] {
         uint32_t s = 0;
         return int{CmsGetColorProfileElement(Sentinel(), 1, &s, nullptr)};
       }},
      {"GetColorProfileFromHandle", -170,
       [] {
         uint32_t s = 0;
         return int{CmsGetColorProfileFromHandle(Sentinel(), &s, nullptr)};
       }},
      {"SetColorProfileElementSize", -170, [] { return int{CmsSetColorProfileElementSize(Sentinel(), 1, 4)}; }},
      {"SetColorProfileElement", -170, [] { return int{CmsSetColorProfileElement(Sentinel(), 1, 4, input)}; }},
      {"IsColorProfileValid", -170,
       [] {
         uint8_t v = 7;
         int s = CmsIsColorProfileValid(Sentinel(), &v);
         return v == 0 ? s : 99;
       }},
      {"CloseColorProfile", -182, [] { return int{CmsCloseColorProfile(Sentinel())}; }},
      {"CreateMultiProfileTransform", -171,
       [=] { return int{CmsCreateMultiProfileTransform(transform, Sentinel(), Sentinel(), 0)}; }},
      {"DeleteColorTransform", 0, [] { return int{CmsDeleteColorTransform(TransformSentinel())}; }},
      {"TranslateBitmapBits", 0,
       [=] { return int{CmsTranslateBitmapBits(TransformSentinel(), input, 8, 2, 1, 8, output, 8, 8)}; }},
      {"CheckBitmapBits", 0, [=] { return int{CmsCheckBitmapBits(TransformSentinel(), input, 8, 2, 1, 8, output)}; }},
      {"GetStandardColorSpaceProfileA", 0,
       [] {
         char p[256];
         return int{CmsGetStandardColorSpaceProfile(p, 256)};
       }},
  };
}

void ExpectAllFailSoftly(ScriptedColorModule& module, const char* only) {
  ColorProfileHandle profile = Sentinel();
  ColorTransformHandle transform = TransformSentinel();
  uint8_t output[8] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
  for (const WrapperCase& c : AllWrappers(&profile, &transform, output)) {
    if (only && std::strcmp(c.function, only) != 0) continue;
    module.calls.clear();
    profile = Sentinel();
    transform = TransformSentinel();
    EXPECT_EQ(c.call(), c.expected) << c.function;
    EXPECT_TRUE(module.calls.empty()) << c.function << " reached the module";
    const bool opens = std::strcmp(c.function, "OpenColorProfileA") == 0;
    const bool creates = std::strcmp(c.function, "CreateMultiProfileTransform") == 0;
    EXPECT_EQ(profile, opens ? nullptr : Sentinel()) << c.function << ": out-handles are cleared";
    EXPECT_EQ(transform, creates ? nullptr : TransformSentinel()) << c.function;
  }
  for (uint8_t b : output) EXPECT_EQ(b, 0xEE) << "output untouched";
}

TEST(ColorModuleBinding, WithoutTheModuleEveryCallFailsSoftly) {
  ScriptedColorModule module;
  module.loads = false;
  EXPECT_EQ(ColorSystemLoad(), nullptr);
  EXPECT_EQ(module.loadedName, "mscms.dll");
  EXPECT_FALSE(IsColorSystemLoaded());
  ExpectAllFailSoftly(module, nullptr);
  ColorSystemUnload();
  EXPECT_EQ(module.freed, 0) << "nothing loaded, nothing freed";
}

TEST(ColorModuleBinding, AMissingFunctionFailsWithoutACall) {
  ScriptedColorModule module;
  ASSERT_NE(ColorSystemLoad(), nullptr);
  for (const char* function : {"GetColorDirectoryA", "OpenColorProfileA", "GetColorProfileElement", "CloseColorProfile",
                               "CreateMultiProfileTransform", "TranslateBitmapBits", "GetStandardColorSpaceProfileA",
                               "IsColorProfileValid", "DeleteColorTransform"}) {
    module.missing = {function};
    ExpectAllFailSoftly(module, function);
  }
}

TEST(ColorModuleBinding, LoadsOnceAndFreesOnce) {
  ScriptedColorModule module;
  EXPECT_FALSE(IsColorSystemLoaded());
  ASSERT_NE(ColorSystemLoad(), nullptr);
  EXPECT_TRUE(IsColorSystemLoaded());
  ColorSystemUnload();
  ColorSystemUnload();
  EXPECT_FALSE(IsColorSystemLoaded());
  EXPECT_EQ(module.freed, 1);
}

class ColorModuleCalls : public ColorFolderTest {};

TEST_F(ColorModuleCalls, OpenPassesAccessSharingAndTheSpecification) {
  const std::string path = colorDirectory_ + "\\a.icm";
  WriteBytes(path, SmallProfile("mntr", "RGB ", "A"));
  const ColorProfileLocation location = FileProfileLocation(path.c_str());
  EXPECT_EQ(location.size, path.size() + 1) << "the size counts the terminator";
  ColorProfileHandle read = nullptr, write = nullptr;
  EXPECT_EQ(CmsOpenColorProfile(&read, &location, 0), 0);
  EXPECT_EQ(CmsOpenColorProfile(&write, &location, 1), 0);
  ASSERT_EQ(module_.opens.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const auto& open = module_.opens[i];
    EXPECT_EQ(open.source, 1u);
    EXPECT_EQ(open.path, path);
    EXPECT_EQ(open.size, path.size() + 1);
    EXPECT_EQ(open.access, i == 0 ? 1u : 2u) << "PROFILE_READ, PROFILE_READWRITE";
    EXPECT_EQ(open.share, 1u) << "FILE_SHARE_READ";
    EXPECT_EQ(open.creation, 3u) << "OPEN_EXISTING";
  }
  EXPECT_NE(read, nullptr);
  EXPECT_EQ(CmsCloseColorProfile(read), 0);
  EXPECT_EQ(CmsCloseColorProfile(read), -182) << "a second close fails";
  EXPECT_EQ(CmsCloseColorProfile(write), 0);

  const std::string absent = colorDirectory_ + "\\none.icm";
  const ColorProfileLocation missing = FileProfileLocation(absent.c_str());
  ColorProfileHandle none = Sentinel();
  EXPECT_EQ(CmsOpenColorProfile(&none, &missing, 0), -176);
  EXPECT_EQ(none, nullptr);
}

TEST_F(ColorModuleCalls, CreateAsksForANewFileOrAnEmptyMemoryProfile) {
  const std::string path = colorDirectory_ + "\\new.icm";
  const ColorProfileLocation file = FileProfileLocation(path.c_str());
  static const uint8_t block[4] = {1, 2, 3, 4};
  const ColorProfileLocation memory{kProfileFromMemory, block, 4};
  ColorProfileHandle a = nullptr, b = nullptr;
  EXPECT_EQ(CmsCreateColorProfile(&a, &file), 0);
  EXPECT_EQ(CmsCreateColorProfile(&b, &memory), 0);
  ASSERT_EQ(module_.opens.size(), 2u);
  EXPECT_EQ(module_.opens[0].source, 1u);
  EXPECT_EQ(module_.opens[0].path, path);
  EXPECT_EQ(module_.opens[1].source, 2u);
  EXPECT_TRUE(module_.opens[1].nullData);
  EXPECT_EQ(module_.opens[1].size, 0u);
  for (const auto& open : module_.opens) {
    EXPECT_EQ(open.access, 2u);
    EXPECT_EQ(open.share, 0u) << "no sharing";
    EXPECT_EQ(open.creation, 1u) << "CREATE_NEW";
  }
  module_.failing = {"OpenColorProfileA"};
  ColorProfileHandle c = Sentinel();
  EXPECT_EQ(CmsCreateColorProfile(&c, &memory), -170);
  EXPECT_EQ(c, nullptr);
}

TEST_F(ColorModuleCalls, ElementReadsQuerySizeThenRead) {
  const std::vector<uint8_t> profileBytes = SmallProfile("mntr", "RGB ", "Monitor");
  const ColorProfileLocation location{kProfileFromMemory, profileBytes.data(),
                                      static_cast<uint32_t>(profileBytes.size())};
  ColorProfileHandle profile = nullptr;
  ASSERT_EQ(CmsOpenColorProfile(&profile, &location, 0), 0);
  uint32_t size = 0;
  EXPECT_EQ(CmsGetColorProfileElement(profile, IccSignature("desc"), &size, nullptr), 0) << "size query";
  EXPECT_EQ(size, 7u + 16);
  std::vector<uint8_t> element(size);
  EXPECT_EQ(CmsGetColorProfileElement(profile, IccSignature("desc"), &size, element.data()), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&element[12])), "Monitor");
  size = 0;
  EXPECT_EQ(CmsGetColorProfileElement(profile, IccSignature("gTRC"), &size, nullptr), -170) << "missing tag";

  size = 0;
  EXPECT_EQ(CmsGetColorProfileFromHandle(profile, &size, nullptr), 0) << "size query";
  EXPECT_EQ(size, profileBytes.size());
  std::vector<uint8_t> whole(size);
  EXPECT_EQ(CmsGetColorProfileFromHandle(profile, &size, whole.data()), 0);
  EXPECT_EQ(whole, profileBytes);

  ColorProfileHeader header;
  EXPECT_EQ(CmsGetColorProfileHeader(profile, &header), 0);
  EXPECT_EQ(header.deviceClass, IccSignature("mntr"));
  EXPECT_EQ(header.dataColorSpace, IccSignature("RGB "));
  uint8_t valid = 0;
  EXPECT_EQ(CmsIsColorProfileValid(profile, &valid), 0);
  EXPECT_EQ(valid, 1);
  EXPECT_EQ(CmsCloseColorProfile(profile), 0);
}

TEST_F(ColorModuleCalls, TransformsTakeTheRenderingIntentOfTheDefaults) {
  const std::vector<uint8_t> bytes = SmallProfile("mntr", "RGB ", "");
  const ColorProfileLocation location{kProfileFromMemory, bytes.data(), static_cast<uint32_t>(bytes.size())};
  ColorProfileHandle a = nullptr, b = nullptr;
  ASSERT_EQ(CmsOpenColorProfile(&a, &location, 0), 0);
  ASSERT_EQ(CmsOpenColorProfile(&b, &location, 0), 0);
  SetDefault<uint32_t>(gDefaults, kDefaultRenderingIntent, 3);
  ColorTransformHandle plain = nullptr, checked = nullptr;
  EXPECT_EQ(CmsCreateMultiProfileTransform(&plain, a, b, 0), 0);
  EXPECT_EQ(CmsCreateMultiProfileTransform(&checked, a, b, 1), 0);
  ASSERT_EQ(module_.transforms.size(), 2u);
  for (const auto& t : module_.transforms) {
    EXPECT_EQ(t.profileCount, 2u);
    EXPECT_EQ(t.intentCount, 2u);
    EXPECT_EQ(t.intents, (std::vector<uint32_t>{3, 3}));
    EXPECT_EQ(t.cmm, 0u) << "INDEX_DONT_CARE";
  }
  EXPECT_EQ(module_.transforms[0].flags, 3u) << "BEST_MODE";
  EXPECT_EQ(module_.transforms[1].flags, 0x10003u) << "with ENABLE_GAMUT_CHECKING";

  uint8_t in[8] = {1, 2, 3, 0, 4, 5, 6, 0}, out[8] = {};
  EXPECT_TRUE(CmsTranslateBitmapBits(plain, in, kBitmapXbgrQuads, 2, 1, 8, out, kBitmapKymcQuads, 8));
  ASSERT_EQ(module_.translations.size(), 1u);
  const auto& t = module_.translations[0];
  EXPECT_EQ(t.inputFormat, 16u);
  EXPECT_EQ(t.outputFormat, 773u);
  EXPECT_EQ(t.width, 2u);
  EXPECT_EQ(t.height, 1u);
  EXPECT_FALSE(t.callback) << "no progress callback";
  EXPECT_EQ(CmsDeleteColorTransform(plain), 1);

  module_.failing = {"CreateMultiProfileTransform"};
  ColorTransformHandle failed = TransformSentinel();
  EXPECT_EQ(CmsCreateMultiProfileTransform(&failed, a, b, 0), -171);
  EXPECT_EQ(failed, nullptr);
  CmsCloseColorProfile(a);
  CmsCloseColorProfile(b);
}

TEST_F(ColorModuleCalls, DirectoriesAndTheStandardProfile) {
  char buffer[256];
  uint32_t size = sizeof buffer;
  EXPECT_TRUE(CmsGetColorDirectory(buffer, &size));
  EXPECT_EQ(std::string(buffer), colorDirectory_);
  EXPECT_FALSE(CmsGetStandardColorSpaceProfile(buffer, sizeof buffer)) << "none scripted";
  module_.standardProfile = "C:\\sRGB.icm";
  EXPECT_TRUE(CmsGetStandardColorSpaceProfile(buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer), "C:\\sRGB.icm");
}

}  // namespace
