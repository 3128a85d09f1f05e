#include "session/tests/session_test_environment.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "foundation/record_store.h"
#include "foundation/settings_folders.h"
#include "session/device_chooser.h"
#include "session/device_layer.h"
#include "session/device_platform.h"
#include "session/device_state.h"
#include "state/data_source_state.h"

namespace fs = std::filesystem;

char PathSeparator() { return static_cast<char>(fs::path::preferred_separator); }

void SessionTest::SetUp() {
  char folder[512];
  ASSERT_TRUE(GetCurrentFolder(folder, sizeof folder));
  fixtures_ = folder;
  if (fixtures_.back() != PathSeparator()) fixtures_ += PathSeparator();

  static int serial = 0;
  // Test programs run side by side: the clock keeps their folders apart.
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path scratch = fs::temp_directory_path() /
                     ("zir_session_" + std::to_string(stamp) + "_" + std::to_string(++serial));
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  scratch_ = scratch.string() + PathSeparator();

  system_->modulePath = scratch_ + "QB ZIR.ds";
  // The texts as the module's string table holds them (code page 1252).
  system_->strings = {{300, "Quillbrook"},
                      {100, "Fehler"},
                      {200, "Notwendige Tiff Information fehlt."},
                      {210, "Nicht gen\xfc" "gend Hauptspeicher"},
                      {215, "Allgemeiner Datenfehler"},
                      {475, "Name der Bilddatei:"},
                      {478, "*.tif;*.jpg;*.psd"},
                      {479, "Bilddateien (*.tif;*.jpg;*.psd)"},
                      {1007, "Bild \xf6" "ffnen..."},
                      {1013, "\xdc" "bersicht \xfc" "ber: "},
                      {1015, "Bild-Ordner lokalisieren:"},
                      {1016, "\xdc" "bersicht..."}};

  gDeviceLayer = DeviceLayerState{};
  ResetDataSourceState();
  gAppStore = OpenOrCreateFile("QBApp (RazoZUR).prf", scratch_.c_str());
  ASSERT_NE(gAppStore, nullptr);
}

void SessionTest::TearDown() {
  CloseImageDevice();
  SetCurrentFolder(fixtures_.c_str());
  CloseFile(gAppStore);
  gAppStore = nullptr;
  std::error_code ignored;
  fs::remove_all(fs::path(scratch_), ignored);
}

std::string SessionTest::Fixture(const std::string& name) const {
  std::string path = fixtures_ + name;
  for (char& c : path)
    if (c == '/' || c == '\\') c = PathSeparator();
  return path;
}

std::string SessionTest::Scratch(const std::string& name) const { return scratch_ + name; }

std::vector<std::string> SessionTest::RecentNames() const {
  std::vector<std::string> names;
  int count = RecordStoreCount(gAppStore, kRecentImageType);
  for (int32_t id = 1; id <= count; ++id) {
    char name[kRecordNameSize] = {};
    if (!RecordStoreNameById(gAppStore, kRecentImageType, id, name)) ADD_FAILURE() << "a gap at id " << id;
    names.push_back(name);
  }
  return names;
}

std::string SessionTest::RecentPath(int32_t id) const {
  char path[kRecentImagePathSize + 1] = {};
  uint32_t size = 0;
  EXPECT_TRUE(RecordStoreSize(gAppStore, kRecentImageType, id, &size));
  EXPECT_EQ(size, kRecentImagePathSize);
  RecordStoreRead(gAppStore, kRecentImageType, id, path, kRecentImagePathSize);
  return path;
}

bool SessionTest::TakeImage(const std::string& path) {
  std::snprintf(gImagePath, sizeof gImagePath, "%s", path.c_str());
  DeviceEntry current = {};
  current.index = kCurrentImageIndex;
  return OpenSourceDevice(current);
}
