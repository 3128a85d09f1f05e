// A fresh device store and application store per test, an empty frame list
// and a scan area of 8 x 10 inches; everything is closed and freed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "frames/frame_list.h"
#include "frame_bytes.h"
#include "state/data_source_state.h"

inline FrameRecord TestFrame(int tag) {
  FrameRecord frame;
  std::memset(&frame, 0, sizeof frame);
  frame.version = kFrameRecordVersion;
  frame.originX = 0.1 * tag;
  frame.originY = 0.2;
  frame.width = 1.0 + 0.01 * tag;
  frame.height = 2.0;
  frame.outputResolution = static_cast<int16_t>(100 + tag);
  frame.outputScaleX = 100.0f;
  frame.outputScaleY = 100.0f;
  frame.negativeLimits[1] = 1.0f;
  return frame;
}

inline void NameFrame(FrameRecord* frame, const char* name) {
  frame->hasName = 1;
  std::memset(frame->name, 0, sizeof frame->name);
  std::strncpy(frame->name, name, sizeof frame->name - 1);
}

// The output resolutions of the list in order, which the tests use as tags.
inline std::vector<int> ListTags() {
  std::vector<int> tags;
  for (FrameListNode* node = FrameListHead(); node; node = node->next) tags.push_back(node->frame.outputResolution - 100);
  return tags;
}

inline void AppendFrames(std::initializer_list<int> tags) {
  for (int tag : tags) AppendFrameNode(NewFrameNode(TestFrame(tag)));
}

class FrameStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gScanAreaInches = {8.0, 10.0};
    CreateFolder(kFolder);
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string test = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : test)
      if (c == '/') c = '_';
    gDeviceStore = OpenStore(test + "_device.prf");
    gAppStore = OpenStore(test + "_app.prf");
    ASSERT_NE(gDeviceStore, nullptr);
    ASSERT_NE(gAppStore, nullptr);
  }

  void TearDown() override {
    DeleteAllFrames();
    for (FileHandle store : opened_) CloseFile(store);
    ResetDataSourceState();
  }

  // A store in the cases folder, emptied first.
  FileHandle OpenStore(const std::string& fileName) {
    DeleteFileAt((std::string(kFolder) + fileName).c_str());
    FileHandle store = OpenOrCreateFile(fileName.c_str(), kFolder);
    if (store) opened_.push_back(store);
    return store;
  }

  static constexpr const char* kFolder = "frame_store_cases\\";
  std::vector<FileHandle> opened_;
};
