// What the device-layer tests share: a scratch folder that plays the module's
// folder (so the settings folders land in it), the string-table texts the
// code asks for, an application store, and the fixture images (the working
// directory of the tests).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "foundation/scripted_system.h"
#include "session/device_table.h"

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A fixture image by its name, as a full path.
  std::string Fixture(const std::string& name) const;
  // A path inside the scratch folder.
  std::string Scratch(const std::string& name) const;
  // The recent images' names and paths in id order.
  std::vector<std::string> RecentNames() const;
  std::string RecentPath(int32_t id) const;
  // Opens the image through the chooser's "current image" road.
  bool TakeImage(const std::string& path);

  ScopedScriptedSystem system_;
  std::string fixtures_;
  std::string scratch_;
};

// "\" on Windows, "/" on the host.
char PathSeparator();
