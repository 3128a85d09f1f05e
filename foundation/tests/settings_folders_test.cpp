// The settings folders beside a scripted module, their icon files and desktop.ini.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/dib.h"
#include "foundation/file_io.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "foundation/settings_folders.h"

namespace {

std::vector<uint8_t> ReadWhole(const std::string& path) {
  FileHandle file = OpenFileForReading(path.c_str());
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
  if (file && GetFileSize(file, &size)) {
    bytes.resize(size);
    if (size > 0 && !ReadBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(size))) bytes.clear();
  }
  CloseFile(file);
  return bytes;
}

uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// An icon image: header (height doubled), colour table, colour rows, mask rows.
std::vector<uint8_t> IconImage(int size, uint16_t bitCount, uint8_t fill) {
  DibHeader header{};
  header.size = sizeof header;
  header.width = size;
  header.height = size * 2;
  header.planes = 1;
  header.bitCount = bitCount;
  header.sizeImage = 12345;  // the icon file must show 0 here
  const uint32_t palette = DibPaletteSize(&header);
  const uint32_t total = sizeof header + palette + DibHeaderStride(&header) * size + (size + 31) / 32 * 4 * size;
  std::vector<uint8_t> bytes(total, fill);
  std::memcpy(bytes.data(), &header, sizeof header);
  return bytes;
}

TEST(IconFile, DirectoryThenImagesWithZeroImageSize) {
  std::vector<uint8_t> small = IconImage(16, 4, 0x11), large = IconImage(32, 32, 0x22);
  IconGroupImage images[2] = {{small.data(), static_cast<uint32_t>(small.size()), 16, 16, 1, 4},
                              {large.data(), static_cast<uint32_t>(large.size()), 32, 32, 1, 32}};
  IconGroup group{2, images};
  ASSERT_EQ(small.size(), 40u + 64 + 128 + 64);
  const char* path = "icon_file_test.ico";
  ASSERT_TRUE(WriteIconFile(&group, path));
  std::vector<uint8_t> file = ReadWhole(path);
  DeleteFileAt(path);
  ASSERT_EQ(file.size(), 6 + 32 + small.size() + large.size());
  EXPECT_EQ(Get16(&file[0]), 0);
  EXPECT_EQ(Get16(&file[2]), 1);
  EXPECT_EQ(Get16(&file[4]), 2);
  const uint8_t firstEntry[8] = {16, 16, 16, 0, 1, 0, 4, 0};
  EXPECT_EQ(std::memcmp(&file[6], firstEntry, 8), 0) << "a 4-bit image has 16 colours";
  EXPECT_EQ(Get32(&file[6 + 8]), small.size());
  EXPECT_EQ(Get32(&file[6 + 12]), 38u);
  const uint8_t secondEntry[8] = {32, 32, 0, 0, 1, 0, 32, 0};
  EXPECT_EQ(std::memcmp(&file[22], secondEntry, 8), 0);
  EXPECT_EQ(Get32(&file[22 + 12]), 38u + small.size());
  EXPECT_EQ(Get32(&file[38 + offsetof(DibHeader, sizeImage)]), 0u);
  EXPECT_EQ(std::memcmp(&file[38 + 40], &small[40], small.size() - 40), 0);
  EXPECT_EQ(file.back(), 0x22);
}

TEST(IconFile, ParseIconImageFindsColourAndMaskRows) {
  std::vector<uint8_t> image = IconImage(16, 4, 0);
  IconImageLayout layout;
  ASSERT_TRUE(ParseIconImage(image.data(), static_cast<uint32_t>(image.size()), &layout));
  EXPECT_EQ(layout.width, 16);
  EXPECT_EQ(layout.height, 16);
  EXPECT_EQ(layout.bitsPerPixel, 4u);
  EXPECT_EQ(layout.colorBits - image.data(), 40 + 64);
  EXPECT_EQ(layout.maskBits - image.data(), 40 + 64 + 128);
  EXPECT_FALSE(ParseIconImage(image.data(), static_cast<uint32_t>(image.size() - 1), &layout));
  const auto* header = reinterpret_cast<const DibHeader*>(image.data());
  EXPECT_EQ(DibColorCount(header), 16u);
  EXPECT_EQ(DibHeaderStride(header), 8u);
}

// A module in a folder of its own, with scripted strings and one icon group.
class SettingsFolders : public testing::Test {
 protected:
  void SetUp() override {
    char program[kPathSize];
    ASSERT_TRUE(PlatformSystemServices().ModuleFileName(nullptr, program, sizeof program));
    program[FileNamePart(program) - program] = '\0';
    base_ = std::string(program) + "folder_cases\\";
    Remove();
    ASSERT_NE(CreateFolder(base_.c_str()), kFolderFailed);
    system_->modulePath = base_ + "QB ZIR.ds";
    system_->strings = {{300, "Quillbrook"}, {525, "Voreinstellungen"}, {526, "Vorschau"}};
    image_ = IconImage(16, 4, 0x33);
    system_->resources[{"#3", 41}] = image_;
    system_->resources[{"#14", 4}] = {0, 0, 1, 0, 1, 0, 16, 16, 16, 0, 1, 0, 4, 0, 40, 1, 0, 0, 41, 0};
  }

  void Remove() {
    for (const char* sub : {"Quillbrook\\Prefs\\", "Quillbrook\\Previews\\", "Quillbrook\\"}) {
      for (const char* file : {"desktop.ini", "PrefsFolder.ico", "QBApp (RazoZUR).prf"}) {
        std::string path = base_ + sub + file;
        SetPathAttributes(path.c_str(), 0);
        DeleteFileAt(path.c_str());
      }
      RemoveFolder((base_ + sub).c_str());
    }
  }

  std::string base_;
  std::vector<uint8_t> image_;
  ScopedScriptedSystem system_;
};

TEST_F(SettingsFolders, NewPrefsFolderIsMarkedOnce) {
  char folder[kPathSize];
  ASSERT_TRUE(GetModuleFolder(folder));
  EXPECT_EQ(std::string(folder), base_);
  ASSERT_TRUE(GetPrefsFolder(folder));
  EXPECT_EQ(std::string(folder), base_ + "Quillbrook\\Prefs\\");
  EXPECT_TRUE(FolderExists(folder));

  std::vector<uint8_t> ini = ReadWhole(std::string(folder) + "desktop.ini");
  EXPECT_EQ(std::string(ini.begin(), ini.end()),
            "[.ShellClassInfo]\r\nConfirmFileOp=0\r\nIconFile=PrefsFolder.ico\r\nIconIndex=0\r\n"
            "InfoTip=Voreinstellungen\r\n");
  std::vector<uint8_t> icon = ReadWhole(std::string(folder) + "PrefsFolder.ico");
  ASSERT_EQ(icon.size(), 6 + 16 + image_.size());
  EXPECT_EQ(Get16(&icon[4]), 1);
  EXPECT_EQ(icon[6 + 2], 16) << "colour count";
  EXPECT_EQ(Get32(&icon[6 + 12]), 22u);
  EXPECT_EQ(std::memcmp(&icon[22 + 40], &image_[40], image_.size() - 40), 0);

  // An existing folder is left as it is.
  std::string iconPath = std::string(folder) + "PrefsFolder.ico";
  SetPathAttributes(iconPath.c_str(), 0);
  ASSERT_TRUE(DeleteFileAt(iconPath.c_str()));
  ASSERT_TRUE(GetPrefsFolder(folder));
  EXPECT_FALSE(FileExists(iconPath.c_str()));
}

TEST_F(SettingsFolders, FolderWithoutItsIconGroupIsStillUsable) {
  char folder[kPathSize];
  ASSERT_TRUE(GetPreviewsFolder(folder));
  EXPECT_EQ(std::string(folder), base_ + "Quillbrook\\Previews\\");
  EXPECT_TRUE(FolderExists(folder));
  EXPECT_FALSE(FileExists((std::string(folder) + "desktop.ini").c_str())) << "nothing is written without icons";
}

TEST_F(SettingsFolders, StoresOpenInTheSettingsFolderByDefault) {
  FileHandle store = OpenOrCreateFile("QBApp (RazoZUR).prf", "");
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(RecordStoreCount(store, TagFromString("DFLT")), 0);
  CloseFile(store);
  EXPECT_TRUE(FileExists((base_ + "Quillbrook\\QBApp (RazoZUR).prf").c_str()));
}

TEST_F(SettingsFolders, NoFolderWithoutItsNameOrModule) {
  char folder[kPathSize];
  system_->strings.erase(300);
  EXPECT_FALSE(GetSettingsFolder(folder));
  EXPECT_FALSE(GetPrefsFolder(folder));
  EXPECT_EQ(OpenOrCreateFile("QBApp (RazoZUR).prf", ""), nullptr);
  system_->modulePath.clear();
  EXPECT_FALSE(GetModuleFolder(folder));
}

TEST_F(SettingsFolders, IconGroupNeedsEveryImage) {
  system_->resources.erase({"#3", 41});
  EXPECT_EQ(LoadIconGroup(nullptr, 4), nullptr);
  EXPECT_EQ(LoadIconGroup(nullptr, 5), nullptr);
}

}  // namespace
