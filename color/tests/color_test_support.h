// What the colour tests share: a module folder of their own with scripted
// strings, the scripted colour-management module loaded over it, and small
// profiles made with the data source's own ICC serializer.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "color/icc_profile_bytes.h"
#include "color/tests/scripted_color_module.h"
#include "foundation/scripted_system.h"

class ColorFolderTest : public testing::Test {
 protected:
  // A fresh folder "<test program folder>/<name>\" holding the module, its
  // colour directory "color\" and its settings folder "Quillbrook\".
  void MakeFolders(const std::string& name);
  void SetUp() override;
  void TearDown() override;

  std::string base_;
  std::string colorDirectory_;
  std::string separationFolder_;
  ScopedScriptedSystem system_;
  ScriptedColorModule module_;
};

// A profile of the class and colour space with a description ("" for none).
std::vector<uint8_t> SmallProfile(const char* deviceClass, const char* colorSpace, const char* description);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// An element with the type signature, the reserved word and the payload.
std::vector<uint8_t> Element(const char* type, const std::vector<uint8_t>& payload);
// A profile holding just the given tags.
std::vector<uint8_t> ProfileWithTags(const std::vector<IccTag>& tags);
