// Writes the stored records of a fixed sequence of operations into the folder
// "record_bytes" of the working directory: a record store, a device store
// with a frame list, and an application store with the defaults block. Every
// build (the product, the 64-bit test build, the host checks) must write the
// same bytes: settings move between them with the files.
#include <cstdio>
#include <cstring>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "frames/frame_list.h"
#include "frames/frame_record_init.h"
#include "frames/frame_storage.h"
#include "state/data_source_state.h"
#include "ui/defaults_record.h"

namespace {

constexpr const char* kFolder = "record_bytes\\";

FileHandle FreshStore(const char* name) {
  char path[256];
  std::snprintf(path, sizeof path, "%s%s", kFolder, name);
  DeleteFileAt(path);
  return OpenOrCreateFile(name, kFolder);
}

// Adds, replaces and deletes records of two types, so that the directory,
// the closed gaps and the cut names all reach the file.
bool WriteStore() {
  FileHandle store = FreshStore("store.prf");
  if (!store) return false;
  const RecordType kText = TagFromString("Text"), kWord = TagFromString("Word");
  const char alpha[] = "alpha", beta[] = "beta record", gamma[] = "gamma";
  const int32_t word = 0x01020304;
  bool ok = RecordStoreAdd(store, kText, 200, alpha, sizeof alpha, "first") &&
            RecordStoreAdd(store, kWord, 7, &word, sizeof word, "a word") &&
            RecordStoreAdd(store, kText, 201, beta, sizeof beta,
                           "a name longer than the sixty-three characters that a record name may hold") &&
            RecordStoreAdd(store, kText, 200, gamma, sizeof gamma, "first again") &&
            RecordStoreDelete(store, kWord, 7) &&
            RecordStoreAdd(store, kWord, RecordStoreUniqueId(store, kWord), &word, sizeof word, "");
  CloseFile(store);
  return ok;
}

// Three frames from the built-in defaults, saved; then one fewer, saved again.
bool WriteFrameList() {
  gDeviceStore = FreshStore("device.prf");
  if (!gDeviceStore) return false;
  FrameInitInputs inputs = {};
  inputs.defaults = &gDefaults;
  inputs.scanAreaWidth = gScanAreaInches.width;
  inputs.scanAreaHeight = gScanAreaInches.height;
  for (int i = 0; i < 3; ++i) {
    FrameRecord frame = {};
    InitFrameRecordWith(&frame, true, inputs);
    frame.originX = 0.25 * i;
    frame.width = 2.5 + i;
    frame.outputResolution = static_cast<int16_t>(300 + 100 * i);
    AppendFrameNode(NewFrameNode(frame));
  }
  bool ok = SaveFrameList();
  RemoveCurrentFrame();
  ok = SaveFrameList() && ok;
  DeleteAllFrames();
  CloseFile(gDeviceStore);
  gDeviceStore = nullptr;
  return ok;
}

// The built-in defaults with two settings changed, saved twice.
bool WriteDefaults() {
  gAppStore = FreshStore("app.prf");
  if (!gAppStore) return false;
  LoadColourBalanceAndDefaults();
  SetDefault(gDefaults, kDefaultGammaReflective, 2.2);
  SetDefault<uint8_t>(gDefaults, kDefaultThreeChannelOutput, 0);
  gDataSourceState.colourBalanceGear = 3;
  SaveColourBalanceAndDefaults();
  SaveColourBalanceAndDefaults();
  CloseFile(gAppStore);
  gAppStore = nullptr;
  return true;
}

}  // namespace

int main() {
  ResetDataSourceState();
  gScanAreaInches = {8.5, 11.0};
  CreateFolder(kFolder);
  const bool ok = WriteStore() && WriteDefaults() && WriteFrameList();
  std::printf(ok ? "records written to %s\n" : "writing the records to %s failed\n", kFolder);
  return ok ? 0 : 1;
}
