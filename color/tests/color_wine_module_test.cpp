// The data source's own profiles through the system's colour-management
// module (Wine's under test): both open, read back and are listed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "color/color_management.h"
#include "color/profile_files.h"
#include "color/profile_writer.h"
#include "color/tests/module_verdict.h"
#include "foundation/file_io.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

class SystemModule : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    if (!ColorSystemLoad()) GTEST_SKIP() << "the system has no colour-management module";
    gIcmEnabled = 1;
  }
  void TearDown() override {
    gIcmEnabled = 0;
    FreeProfileLists();
    ColorSystemUnload();
  }
};

TEST_F(SystemModule, TheIdentityProfileIsValid) {
  ColorProfileHandle profile = nullptr;
  ASSERT_TRUE(CreateLabIdentityProfile(&profile));
  ColorProfileHeader header;
  ASSERT_EQ(CmsGetColorProfileHeader(profile, &header), 0);
  EXPECT_EQ(header.deviceClass, IccSignature("spac"));
  EXPECT_EQ(header.dataColorSpace, IccSignature("Lab "));
  EXPECT_EQ(header.connectionSpace, IccSignature("Lab "));
  EXPECT_EQ(CmsCloseColorProfile(profile), 0);
}

TEST_F(SystemModule, TheScannerProfileIsWrittenOpenedAndListed) {
  char directory[256];
  uint32_t size = sizeof directory;
  ASSERT_TRUE(CmsGetColorDirectory(directory, &size));
  const std::string path = std::string(directory) + "\\QB_R (ZIR).icm";
  DeleteFileAt(path.c_str());
  std::vector<double> grid;
  for (int i = 0; i < 5 * 5 * 5; ++i) {
    const double r = i / 25 / 4.0, g = i / 5 % 5 / 4.0, b = i % 5 / 4.0;
    grid.insert(grid.end(),
                {0.4 * r + 0.35 * g + 0.25 * b, 0.2 * r + 0.7 * g + 0.1 * b, 0.05 * r + 0.15 * g + 0.8 * b});
  }
  ASSERT_TRUE(ColorProfileWriter(grid.data(), 5, 2.2));

  ColorProfileHandle profile = nullptr;
  const ColorProfileLocation location = FileProfileLocation(path.c_str());
  ASSERT_EQ(CmsOpenColorProfile(&profile, &location, 0), 0);
  uint8_t valid = 0;
  EXPECT_EQ(CmsIsColorProfileValid(profile, &valid), 0);
  EXPECT_EQ(valid, 1);
  ColorProfileHeader header;
  ASSERT_EQ(CmsGetColorProfileHeader(profile, &header), 0);
  EXPECT_EQ(header.deviceClass, IccSignature("scnr"));
  EXPECT_EQ(header.version, 0x02100000u);
  EXPECT_EQ(ProfileDescription(profile), "QB_R (ZIR)");
  EXPECT_EQ(CmsCloseColorProfile(profile), 0);

  PathPairNode* scanners =
      EnumerateColorProfiles(IccSignature("scnr"), IccSignature("RGB "), kMatchDeviceClass | kMatchColorSpace, nullptr);
  char found[260] = "";
  EXPECT_TRUE(FindPathByFileName("QB_R (ZIR).icm", scanners, found));
  FreePathPairList(&scanners);
  DeleteFileAt(path.c_str());
}

// The host application's own monitor profile setting, read for a host whose
// signature is "8BIM".
TEST_F(SystemModule, TheHostsMonitorProfileSetting) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Adobe\\Color\\Monitor\\Monitor0", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  char path[MAX_PATH];
  ASSERT_NE(GetFullPathNameA("host_monitor.icc", sizeof path, path, nullptr), 0u);
  const IccBytes bytes = LabIdentityProfileBytes({2026, 1, 1, 0, 0, 0});
  FileHandle file = CreateFileForWriting(path);
  ASSERT_TRUE(file && WriteBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(bytes.size())));
  CloseFile(file);
  RegSetValueExA(key, "Monitor Profile", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                 static_cast<DWORD>(std::strlen(path) + 1));

  SessionBlock session{};
  session.hostSignature = kHostSignature8bim;
  gSession = &session;
  ColorProfileHandle profile = nullptr;
  EXPECT_EQ(OpenMonitorProfile(nullptr, &profile), 0);
  ColorProfileHeader header{};
  EXPECT_EQ(CmsGetColorProfileHeader(profile, &header), 0);
  EXPECT_EQ(header.deviceClass, IccSignature("spac")) << "the host's profile, not the screen's";
  CmsCloseColorProfile(profile);

  // A value that fills all 256 bytes without its terminator ends inside them
  // (or is refused, as Wine's registry does).
  const std::string filled(256, 'A');
  RegSetValueExA(key, "Monitor Profile", 0, REG_SZ, reinterpret_cast<const BYTE*>(filled.data()), 256);
  char read[257];
  std::memset(read, 'B', sizeof read);
  if (HostMonitorProfilePath(read)) {
    EXPECT_EQ(strnlen(read, sizeof read), 255u);
  }

  gSession = nullptr;
  RegDeleteValueA(key, "Monitor Profile");
  RegCloseKey(key);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Adobe\\Color\\Monitor\\Monitor0");
  DeleteFileAt(path);
}

using ModuleFeature = SystemModule;

// 10-bit L*a*b* through the identity profile comes back as it went in.
TEST_F(ModuleFeature, LabThroughTheIdentityProfile) {
  std::string reason;
  if (!ModuleCan("format-1027", &reason)) GTEST_SKIP() << reason;
  ColorProfileHandle profile = nullptr;
  ASSERT_TRUE(CreateLabIdentityProfile(&profile));
  ColorTransformHandle transform = nullptr;
  ASSERT_EQ(CmsCreateMultiProfileTransform(&transform, profile, profile, 0), 0);
  const uint32_t in[3] = {0x3FF80200u, 0x20080200u, 0x1004C1F0u};
  uint32_t out[3] = {};
  ASSERT_TRUE(CmsTranslateBitmapBits(transform, in, kBitmap10Lab, 3, 1, 12, out, kBitmap10Lab, 12));
  for (int i = 0; i < 3; ++i)
    for (int shift : {20, 10, 0}) EXPECT_NEAR(int(out[i] >> shift & 1023), int(in[i] >> shift & 1023), 2);
  CmsDeleteColorTransform(transform);
  CmsCloseColorProfile(profile);
}

}  // namespace
