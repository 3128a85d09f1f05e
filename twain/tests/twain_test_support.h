// Shared helpers of the source's tests: a fresh module, an application that
// talks to it, and readers of the containers it answers with.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "session/device_state.h"
#include "session/device_table.h"
#include "session/scan_session.h"
#include "state/data_source_state.h"

#include "twain/capability_containers.h"
#include "twain/dispatch.h"
#include "twain/twain_state.h"

// The identity an application presents; the source manager gives it an Id.
inline TW_IDENTITY MakeApplication(TW_UINT32 id, const char* productName, const char* manufacturer = "Testhaus") {
  TW_IDENTITY identity = {};
  identity.Id = id;
  std::strncpy(identity.ProductName, productName, sizeof identity.ProductName - 1);
  std::strncpy(identity.Manufacturer, manufacturer, sizeof identity.Manufacturer - 1);
  return identity;
}

// A grey 8 x 8 image, uncompressed, in one strip.
inline void WriteSmallTiff(const std::string& path) {
  std::vector<uint8_t> file = {'I', 'I', 42, 0, 8, 0, 0, 0};
  auto u16 = [&file](uint16_t v) { file.push_back(v & 0xFF); file.push_back(v >> 8); };
  auto u32 = [&u16](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  const uint16_t tags[][3] = {{256, 3, 8}, {257, 3, 8}, {258, 3, 8},  {259, 3, 1}, {262, 3, 1},
                              {273, 4, 122}, {277, 3, 1}, {278, 3, 8}, {279, 4, 64}};
  u16(9);
  for (const auto& tag : tags) {
    u16(tag[0]);
    u16(tag[1]);
    u32(1);
    if (tag[1] == 3) { u16(tag[2]); u16(0); } else { u32(tag[2]); }
  }
  u32(0);
  for (int i = 0; i < 64; ++i) file.push_back(static_cast<uint8_t>(i * 4));
  FILE* out = std::fopen(path.c_str(), "wb");
  std::fwrite(file.data(), 1, file.size(), out);
  std::fclose(out);
}

// The module as just loaded, with one application that calls it. The module
// lives in a scratch folder whose settings remember one image as the device
// used last, so that enabling the source opens it without asking.
class TwainModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int instance;
    static int serial;
    namespace fs = std::filesystem;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    folder_ = fs::temp_directory_path() / ("zir_twain_" + std::to_string(stamp) + "_" + std::to_string(++serial));
    fs::create_directories(folder_);
    system_->modulePath = (folder_ / "QB ZIR.ds").string();
    system_->strings = {{300, "Quillbrook"}};
    RememberImage((folder_ / "bild.tif").string());

    gTwainState = kStateLoaded;
    gConditionCode = TWCC_SUCCESS;
    ASSERT_TRUE(OnModuleAttach(&instance));
    application_ = MakeApplication(11, "Testprogramm");
  }

  // The image as the only recent image and its row as the SCAN record.
  void RememberImage(const std::string& path) {
    WriteSmallTiff(path);
    ASSERT_NE(OpenAppStore(), nullptr);
    char stored[kRecentImagePathSize] = {};
    std::snprintf(stored, sizeof stored, "%s", path.c_str());
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kRecentImageType, 1, stored, sizeof stored, "bild.tif"));
    DeviceTable table;
    ASSERT_EQ(BuildDeviceTable(&table), 3);
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kScanDeviceType, kScanDeviceId, &table.entries[2], sizeof(DeviceEntry), ""));
    CloseAppStore();
  }

  TW_UINT16 Call(TW_UINT32 dataGroup, TW_UINT16 dataArgument, TW_UINT16 message, TW_MEMREF data) {
    return HandleDsEntry(&application_, dataGroup, dataArgument, message, data);
  }

  TW_UINT16 Open() {
    TW_IDENTITY assigned = gSourceIdentity;
    assigned.Id = 21;
    return Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &assigned);
  }

  TW_UINT16 Enable(TW_BOOL showUi = 1) {
    TW_USERINTERFACE ui = {showUi, 0, nullptr};
    return Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
  }

  TW_UINT16 Status() {
    TW_STATUS status = {0xBEEF, 0xBEEF};
    Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
  }

  // Opens the source and puts it into the state (400 to 700).
  void BringToState(int32_t state) {
    if (state == kStateLoaded) return;
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    if (state >= kStateEnabled) {
      ASSERT_EQ(Enable(), TWRC_SUCCESS);
    }
    gTwainState = state;  // transfers are driven by the scan, not by the host
  }

  void TearDown() override {
    if (gTwainState != kStateLoaded) Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr);
    gAppIdentity.Id = 0;
    gTwainState = kStateLoaded;
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  ScopedScriptedSystem system_;
  std::filesystem::path folder_;
  TW_IDENTITY application_;
};

// A container the source built, decoded and freed.
struct Container {
  TW_UINT16 conType = 0;
  TW_UINT16 itemType = 0;
  uint32_t currentIndex = 0;
  uint32_t defaultIndex = 0;
  std::vector<uint32_t> items;  // one-value: one item; FIX32 items as raw 32 bits
};

inline uint32_t ReadItemAt(const uint8_t* at, TW_UINT16 itemType) {
  uint32_t size = TwainTypeSize(itemType);
  uint32_t value = 0;
  std::memcpy(&value, at, size < 4 ? size : 4);
  return value;
}

inline Container TakeContainer(TW_CAPABILITY* capability) {
  Container result;
  result.conType = capability->ConType;
  auto* block = static_cast<const uint8_t*>(gContainerAllocator->lock(capability->hContainer));
  if (!block) {
    ADD_FAILURE() << "no container";
    return result;
  }
  std::memcpy(&result.itemType, block, 2);
  if (capability->ConType == TWON_ONEVALUE) {
    result.items.push_back(ReadItemAt(block + 2, result.itemType));
  } else {
    uint32_t count;
    std::memcpy(&count, block + 2, 4);
    const uint8_t* items = block + 6;
    if (capability->ConType == TWON_ENUMERATION) {
      std::memcpy(&result.currentIndex, block + 6, 4);
      std::memcpy(&result.defaultIndex, block + 10, 4);
      items = block + 14;
    }
    for (uint32_t i = 0; i < count; ++i) result.items.push_back(ReadItemAt(items + i * TwainTypeSize(result.itemType), result.itemType));
  }
  gContainerAllocator->unlock(capability->hContainer);
  gContainerAllocator->release(capability->hContainer);
  capability->hContainer = nullptr;
  return result;
}

inline uint32_t Fix32Bits(int16_t whole, uint16_t frac) {
  return static_cast<uint16_t>(whole) | static_cast<uint32_t>(frac) << 16;
}
