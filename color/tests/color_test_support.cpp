#include "color/tests/color_test_support.h"

#include <algorithm>
#include <cstring>

#include "color/color_management.h"
#include "foundation/file_io.h"
#include "foundation/paths.h"
#include "state/data_source_state.h"

namespace {

uint32_t Signature(const char* text) {
  return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24 | static_cast<uint8_t>(text[1]) << 16 |
         static_cast<uint8_t>(text[2]) << 8 | static_cast<uint8_t>(text[3]);
}

void RemoveTree(const std::string& folder) {
  std::vector<std::string> names;
  ForEachFileInFolder(
      folder.c_str(),
      [](const char* name, void* context) { static_cast<std::vector<std::string>*>(context)->push_back(name); },
      &names);
  for (const std::string& name : names) DeleteFileAt((folder + name).c_str());
  RemoveFolder(folder.c_str());
}

}  // namespace

void ColorFolderTest::MakeFolders(const std::string& name) {
  char program[kPathSize];
  ASSERT_TRUE(PlatformSystemServices().ModuleFileName(nullptr, program, sizeof program));
  program[FileNamePart(program) - program] = '\0';
  base_ = std::string(program) + name + "\\";
  colorDirectory_ = base_ + "color";
  separationFolder_ = base_ + "Quillbrook\\PPCMYK Profile\\";
  RemoveTree(separationFolder_);
  RemoveTree(base_ + "Quillbrook\\");
  RemoveTree(colorDirectory_ + "\\");
  RemoveTree(base_);
  ASSERT_NE(CreateFolder(base_.c_str()), kFolderFailed);
  ASSERT_NE(CreateFolder((colorDirectory_ + "\\").c_str()), kFolderFailed);
  ASSERT_NE(CreateFolder((base_ + "Quillbrook\\").c_str()), kFolderFailed);
  ASSERT_NE(CreateFolder(separationFolder_.c_str()), kFolderFailed);
  system_->modulePath = base_ + "QB ZIR.ds";
  module_.colorDirectory = colorDirectory_;
}

void ColorFolderTest::SetUp() {
  ResetDataSourceState();
  system_->strings = {{300, "Quillbrook"},
                      {500, "Warnung"},
                      {822, "Kein CMYK"},
                      {1718,
                       "ICC-Profil existiert bereits!\n\xDC"
                       "berschreiben?"}};
  MakeFolders(testing::UnitTest::GetInstance()->current_test_info()->name());
  ASSERT_NE(ColorSystemLoad(), nullptr);
  gIcmEnabled = 1;
}

void ColorFolderTest::TearDown() {
  gIcmEnabled = 0;
  ResetDataSourceState();
}

std::vector<uint8_t> SmallProfile(const char* deviceClass, const char* colorSpace, const char* description) {
  std::vector<IccTag> tags;
  if (description[0]) tags.push_back({IccSignature("desc"), DescElement(description)});
  return SerializeIccProfile({Signature(deviceClass), Signature(colorSpace), IccSignature("XYZ "), 0, {}}, tags);
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FileHandle file = CreateFileForWriting(path.c_str());
  ASSERT_TRUE(file) << path;
  EXPECT_TRUE(WriteBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(bytes.size())));
  CloseFile(file);
}

std::vector<uint8_t> Element(const char* type, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> element(8 + payload.size(), 0);
  std::memcpy(element.data(), type, 4);
  std::copy(payload.begin(), payload.end(), element.begin() + 8);
  return element;
}

std::vector<uint8_t> ProfileWithTags(const std::vector<IccTag>& tags) {
  return SerializeIccProfile({IccSignature("mntr"), IccSignature("RGB "), IccSignature("XYZ "), 0, {}}, tags);
}
