#include "foundation/log/log_header.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gQueried;

LockState ScriptedLockState(const char* path) {
  gQueried.push_back(path);
  std::string p = path;
  if (p == "C:\\X") return kPathLocked;
  if (p == "C:\\X\\Y") return kPathUnreadable;
  return kPathUnlocked;
}

LogHeaderFacts SampleFacts() {
  LogHeaderFacts facts;
  facts.supportLines[0] = "support one";
  facts.supportLines[1] = "support two";
  facts.supportLines[2] = "support three";
  facts.supportLines[3] = "why one";
  facts.supportLines[4] = "why two";
  facts.supportLines[5] = "why three";
  facts.time = {7, 3, 2001, 9, 5, 0};
  facts.hostManufacturer = "Maker";
  facts.hostFamily = "Family";
  facts.hostProduct = "Product";
  facts.modulePath = "C:\\X\\Y\\file.ds";
  facts.lockState = ScriptedLockState;
  facts.versionText = "Quillbrook ZIR v5.5.2";
  facts.system.known = true;
  facts.system.platform = kPlatformWindowsNT;
  facts.system.major = 5;
  facts.system.minor = 0;
  facts.system.build = 2195;
  facts.system.servicePack = "Service Pack 4";
  facts.physicalMemoryBytes = 256u * 1048576u;
  return facts;
}

TEST(LogHeader, HoldsTheSystemBlockLineByLine) {
  EXPECT_EQ(BuildLogHeader(SampleFacts()),
            "*** Quillbrook LOGFILE ***\r\n"
            "\r\n"
            "support one\r\nsupport two\r\nsupport three\r\n"
            "\r\n"
            "why one\r\nwhy two\r\nwhy three\r\n"
            "\r\n\r\n"
            "Date and time: 7.3.2001  9:5:0\r\n"
            "\r\n"
            "Platform     : PC\r\n"
            "Plugin       : Twain\r\n"
            "Host         : Maker, Family, Product\r\n"
            "\r\n"
            "Path         : C:\\X\\Y\\file.ds\r\n"
            "\r\n"
            "Locking      : <file.ds>: unlocked\r\n"
            "Locking      : <Y>: ????\r\n"
            "Locking      : <X>: LOCKED\r\n"
            "Locking      : <C:>: unlocked\r\n"
            "\r\n"
            "Version      : Quillbrook ZIR v5.5.2\r\n"
            "\r\n"
            "System       : Microsoft Windows 2000 (Version 5.0 Service Pack 4, Build 2195)\r\n"
            "Memory       : 257 MB RAM\r\n"
            "\r\n\r\n");
}

TEST(LogHeader, AsksEveryLevelOfThePathUpToTheDriveRoot) {
  gQueried.clear();
  LockingLines("C:\\X\\Y\\file.ds", ScriptedLockState);
  EXPECT_THAT(gQueried, testing::ElementsAre("C:\\X\\Y\\file.ds", "C:\\X\\Y", "C:\\X", "C:\\"));
}

TEST(LogHeader, ListsVolumesOnlyWhenAsked) {
  LogHeaderFacts facts = SampleFacts();
  facts.volumes = {{"C:\\", 1610612736ull}, {"D:\\", 524288ull}};
  const std::string volumes =
      "\r\nVolume       : C:\\ (1.50 GB free)\r\nVolume       : D:\\ ( 512 KB free)\r\n\r\nVersion      : ";
  EXPECT_EQ(BuildLogHeader(facts).find(volumes), std::string::npos);
  facts.listVolumes = true;
  EXPECT_NE(BuildLogHeader(facts).find(volumes), std::string::npos);
}

TEST(LogHeader, LeavesOutWhatIsNotKnown) {
  LogHeaderFacts facts = SampleFacts();
  facts.supportLines[1] = "";
  facts.system.known = false;
  facts.versionText = "Quillbrook\nZIR v5.5.2";
  std::string header = BuildLogHeader(facts);
  EXPECT_NE(header.find("\r\nsupport one\r\nsupport three\r\n\r\nwhy one"), std::string::npos);
  EXPECT_EQ(header.find("System"), std::string::npos);
  EXPECT_NE(header.find("Version      : Quillbrook ZIR v5.5.2\r\n\r\nMemory"), std::string::npos);
}

struct FreeSpaceCase {
  uint64_t bytes;
  const char* text;
};
class FreeSpace : public testing::TestWithParam<FreeSpaceCase> {};
TEST_P(FreeSpace, PicksTheUnitByMegabytes) { EXPECT_EQ(FreeSpaceText(GetParam().bytes), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(Units, FreeSpace,
                         testing::Values(FreeSpaceCase{1610612736ull, " (1.50 GB free)"},
                                         FreeSpaceCase{524288ull, " ( 512 KB free)"},
                                         FreeSpaceCase{1048576ull, " (1024 KB free)"},
                                         FreeSpaceCase{1073741824ull, " (1024 MB free)"},
                                         FreeSpaceCase{314572800ull, " ( 300 MB free)"},
                                         FreeSpaceCase{0ull, " (   0 KB free)"},
                                         FreeSpaceCase{5497558138880ull, " (5120.00 GB free)"}));

struct SystemCase {
  SystemPlatform platform;
  uint32_t major, minor;
  const char* name;
};
class SystemNames : public testing::TestWithParam<SystemCase> {};
TEST_P(SystemNames, FollowPlatformAndVersion) {
  SystemVersion version;
  version.platform = GetParam().platform;
  version.major = GetParam().major;
  version.minor = GetParam().minor;
  EXPECT_EQ(SystemName(version), GetParam().name);
}
INSTANTIATE_TEST_SUITE_P(Names, SystemNames,
                         testing::Values(SystemCase{kPlatformWindows9x, 3, 95, "Microsoft Windows 95 "},
                                         SystemCase{kPlatformWindows9x, 4, 0, "Microsoft Windows 95 "},
                                         SystemCase{kPlatformWindows9x, 4, 10, "Microsoft Windows 98 "},
                                         SystemCase{kPlatformWindowsNT, 4, 0, "Microsoft Windows NT "},
                                         SystemCase{kPlatformWindowsNT, 5, 1, "Microsoft Windows 2000 "},
                                         SystemCase{kPlatformWindowsNT, 6, 1, ""},
                                         SystemCase{kPlatformOther, 4, 0, ""}));

TEST(LogHeader, MemoryIsRoundedWithTheSupportOffset) {
  EXPECT_EQ(MemoryText(64u * 1048576u), " 65 MB RAM");
  EXPECT_EQ(MemoryText(64u * 1048576u - 655360u), " 64 MB RAM");
  EXPECT_EQ(MemoryText(4096ull * 1048576u), "4097 MB RAM");
}

TEST(LogHeader, LockingLinesOfPathsWithoutDrive) {
  EXPECT_EQ(LockingLines("file.ds", nullptr), "Locking      : <file.ds>: ????\r\n");
  EXPECT_EQ(LockingLines("", nullptr), "");
  EXPECT_EQ(LockingLines("/usr/lib/", nullptr),
            "Locking      : <lib>: ????\r\nLocking      : <usr>: ????\r\n");
}

}  // namespace
