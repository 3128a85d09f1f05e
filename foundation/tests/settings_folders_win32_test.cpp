// The settings folders of the real module: its resources, its folder and the
// file attributes the shell reads.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/paths.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"

namespace {

TEST(ModuleResources, FolderNameTipsAndIconGroups) {
  char text[256];
  ASSERT_GT(LoadResourceString(nullptr, kSettingsFolderNameString, text, sizeof text), 0);
  EXPECT_STREQ(text, "Quillbrook");
  ASSERT_GT(LoadResourceString(nullptr, kPrefsFolderTipString, text, sizeof text), 0);
  EXPECT_STREQ(text, "Quillbrook Voreinstellungen und gespeicherte Einstellungen");
  for (uint32_t id : {kPrefsFolderIconGroup, kPreviewsFolderIconGroup}) {
    IconGroup* group = LoadIconGroup(nullptr, id);
    ASSERT_NE(group, nullptr) << id;
    ASSERT_EQ(group->count, 2);
    EXPECT_EQ(group->images[0].width, 32);
    EXPECT_EQ(group->images[0].height, 32);
    EXPECT_EQ(group->images[1].width, 16);
    FreeIconGroup(group);
  }
}

TEST(ModuleResources, NumberedResourcesOfATypeAreListed) {
  const std::vector<uint32_t> groups = CustomResourceIds(nullptr, ResourceTypeNumber(kResourceTypeGroupIcon));
  for (uint32_t id : {kPrefsFolderIconGroup, kPreviewsFolderIconGroup})
    EXPECT_NE(std::find(groups.begin(), groups.end(), id), groups.end()) << id;
  EXPECT_TRUE(CustomResourceIds(nullptr, "FRsA").empty());
}

TEST(SettingsFolder, PreviewsFolderBesideTheModuleIsMarkedForTheShell) {
  char folder[kPathSize];
  ASSERT_TRUE(GetModuleFolder(folder));
  const std::string previews = std::string(folder) + "Quillbrook\\Previews\\";
  for (const char* file : {"desktop.ini", "PreviewFolder.ico"}) {
    SetFileAttributesA((previews + file).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((previews + file).c_str());
  }
  RemoveDirectoryA(previews.c_str());

  ASSERT_TRUE(GetPreviewsFolder(folder));
  EXPECT_EQ(previews, folder);
  DWORD attributes = GetFileAttributesA(previews.c_str());
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_SYSTEM);
  attributes = GetFileAttributesA((previews + "PreviewFolder.ico").c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  attributes = GetFileAttributesA((previews + "desktop.ini").c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);

  char tip[128] = "";
  GetPrivateProfileStringA(".ShellClassInfo", "InfoTip", "", tip, sizeof tip, (previews + "desktop.ini").c_str());
  EXPECT_STREQ(tip, "Quillbrook Vorschau-Scans");
  // A second request finds the folder and writes nothing again.
  EXPECT_TRUE(GetPreviewsFolder(folder));
}

}  // namespace
