// A fresh application and device store for each test, named after the test,
// in the folder "ui_record_cases" of the working directory.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "foundation/file_io.h"
#include "foundation/folder_tools.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "state/data_source_state.h"

inline const char* kCases = "ui_record_cases\\";

class StoresTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    CreateFolder(kCases);
    for (const char* kind : {"_app.prf", "_device.prf"}) DeleteFileAt((kCases + name + kind).c_str());
    gAppStore = OpenOrCreateFile((name + "_app.prf").c_str(), kCases);
    gDeviceStore = OpenOrCreateFile((name + "_device.prf").c_str(), kCases);
    ASSERT_NE(gAppStore, nullptr);
    ASSERT_NE(gDeviceStore, nullptr);
  }
  void TearDown() override {
    CloseFile(gAppStore);
    CloseFile(gDeviceStore);
    ResetDataSourceState();
  }

  static std::string NameOf(FileHandle store, RecordType type, int32_t id) {
    char name[64] = {};
    return RecordStoreNameById(store, type, id, name) ? name : "<none>";
  }
};
