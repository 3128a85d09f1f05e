// Seeds the settings folder of the data source for a session without its
// window, as an earlier session with the window would have left it: the image
// as the only recent image, its row as the device used last, and stored frames
// at the image's own resolution: the first over the whole image, each further
// one four rows shorter, so that the frames of a batch can be told apart.
// A curve gamma other than 1 bends the frames' master tone curve: its
// gradation points take the outputs of that gamma. A filter gives the frames
// a filter kind with its sharpening parameters, and for the descreen kinds
// the descreen ruling and the output resolution ("-" for none). Profiles
// switch colour management on in the stored defaults: the reflective scanner
// profile and the internal profile (input mode 2), and with an output profile
// also output mode 2 ("-" for none); "itp:<name>" instead switches the
// calibration on (input mode 3) with that calibration profile. A CMYK output "<mode>:<name>" gives four
// samples a pixel through output mode 3 (the separation table of that name in
// "CB Profile\") or 5 (the CMYK table or profile of that name). A selective
// colour correction "<mode word>:<values>" gives the frames mode word 1 with
// the 36 values of the six-colour matrix, or another word with the 72 values
// of the twelve-colour matrix.
//   seedprefs <settings folder> <image> <width> <height> <dpi> <rgb|grey>
//             [bits per channel] [frames] [curve gamma]
//             [kind,threshold,amount,limit,soft,light,dark,matrix[,ruling,output dpi]]
//             [scanner profile|internal profile[|output profile] or itp:<name>] [quarter turns] [cmyk output]
//             [selective colour]
// ("-" for no profiles or CMYK output and "0" for no turn before what follows them)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "foundation/file_names.h"
#include "foundation/pstring.h"
#include "foundation/record_store.h"
#include "foundation/round.h"
#include "frames/frame_record_init.h"
#include "frames/frame_storage.h"
#include "session/device_table.h"
#include "session/scan_session.h"
#include "state/data_source_state.h"
#include "ui/defaults_record.h"

namespace {

void SetEntryText(uint8_t* field, const char* text) {
  size_t length = std::strlen(text);
  if (length > 63) length = 63;
  field[0] = static_cast<uint8_t>(length);
  std::memcpy(field + 1, text, length);
}

void SetPathField(DefaultsArea area, const std::string& path) {
  std::memset(DefaultsBytes(gDefaults, area), 0, area.size);
  std::memcpy(DefaultsBytes(gDefaults, area), path.data(), std::min<size_t>(path.size(), area.size - 1));
}

// The built-in defaults with the colour-management profiles "scanner|internal[|output]" ("-" for none, "itp:<name>"
// for the calibration profile) and a
// CMYK output "<mode>:<name>" (empty for none).
bool WriteColourDefaults(FileHandle appStore, const std::string& profiles, const std::string& cmyk) {
  SetBuiltInDefaults(gDefaults);
  if (profiles.compare(0, 4, "itp:") == 0) {
    SetPathField(kDefaultCalibrationProfileName, profiles.substr(4));
    SetDefault<int16_t>(gDefaults, kDefaultInputCmsMode, 3);
  } else if (profiles != "-") {
    const size_t first = profiles.find('|');
    if (first == std::string::npos) return false;
    const size_t second = profiles.find('|', first + 1);
    SetPathField(kDefaultScannerProfileReflective, profiles.substr(0, first));
    SetPathField(kDefaultInternalProfile,
                 profiles.substr(first + 1, second == std::string::npos ? second : second - first - 1));
    SetPathField(kDefaultOutputProfile, second == std::string::npos ? "" : profiles.substr(second + 1));
    SetDefault<int16_t>(gDefaults, kDefaultInputCmsMode, 2);
    SetDefault<int16_t>(gDefaults, kDefaultOutputCmsMode, second == std::string::npos ? 1 : 2);
  }
  if (!cmyk.empty()) {
    const size_t colon = cmyk.find(':');
    const int mode = std::atoi(cmyk.c_str());
    if (colon == std::string::npos || (mode != 3 && mode != 5)) return false;
    SetPathField(mode == 3 ? kDefaultSeparationTableName : kDefaultCmykSourceName, cmyk.substr(colon + 1));
    if (mode == 3) SetDefault<uint8_t>(gDefaults, kDefaultSeparationTablesInUse, 1);
    SetDefault<int16_t>(gDefaults, kDefaultOutputCmsMode, static_cast<int16_t>(mode));
    SetDefault<uint8_t>(gDefaults, kDefaultThreeChannelOutput, 0);
  }
  // The records beside the block as a first session leaves them.
  std::memset(gDataSourceState.activePoints, 1, sizeof gDataSourceState.activePoints);
  gDataSourceState.colourBalanceGear = 1;
  gAppStore = appStore;
  SaveColourBalanceAndDefaults();
  gAppStore = nullptr;
  return true;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileHandle OpenStore(const std::string& prefsFolder, const unsigned char* name) {
  char text[256];
  PStrToText(name, text);
  return OpenOrCreateFile(text, prefsFolder.c_str());
}

// "<mode word>:<v1>,<v2>,..." into the frame's mode word and the matrix it selects.
bool SetSelectiveColor(FrameRecord* frame, const char* text) {
  char* end = nullptr;
  frame->selectiveColorMode = static_cast<uint32_t>(std::strtoul(text, &end, 10));
  const bool six = frame->selectiveColorMode == 1;
  int16_t* cells = six ? frame->selectiveColorMatrix : frame->colorMatrix12;
  const int count = six ? 36 : 72;
  for (int i = 0; i < count; ++i) {
    if (*end != (i == 0 ? ':' : ',')) return false;
    cells[i] = static_cast<int16_t>(std::strtol(end + 1, &end, 10));
  }
  return *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7) {
    std::fprintf(stderr,
                 "usage: seedprefs <settings folder> <image> <width> <height> <dpi> <rgb|grey> [bits] [frames] [gamma]\n");
    return 2;
  }
  const std::string prefs = std::string(argv[1]) + "Prefs\\";
  const std::string image = argv[2];
  const int width = std::atoi(argv[3]), height = std::atoi(argv[4]), dpi = std::atoi(argv[5]);
  const bool rgb = std::strcmp(argv[6], "rgb") == 0;
  const int bits = argc > 7 ? std::atoi(argv[7]) : 8;
  const int frames = argc > 8 ? std::atoi(argv[8]) : 1;
  const double gamma = argc > 9 ? std::atof(argv[9]) : 1.0;
  int filter[10] = {};
  const int filterValues = argc > 10 ? std::sscanf(argv[10], "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", &filter[0], &filter[1],
                                                   &filter[2], &filter[3], &filter[4], &filter[5], &filter[6],
                                                   &filter[7], &filter[8], &filter[9])
                                     : 0;
  if (filterValues != 0 && filterValues != 8 && filterValues != 10) {
    std::fprintf(stderr, "a filter is kind and 7 parameters, then ruling and output dpi\n");
    return 2;
  }
  const std::string name = BaseName(image);

  // The recent image and its row of the device table (rows 0 and 1 are fixed).
  PString storeName;
  MakeAppPrefsFileName(storeName);
  FileHandle appStore = OpenStore(prefs, storeName);
  if (!appStore) return 1;
  char path[kRecentImagePathSize] = {};
  std::snprintf(path, sizeof path, "%s", image.c_str());
  DeviceEntry entry = {};
  entry.index = kFirstRecentRow;
  entry.value = 1;
  SetEntryText(entry.vendor, "ZIR     ");
  SetEntryText(entry.name, name.c_str());
  bool written = RecordStoreAdd(appStore, kRecentImageType, 1, path, sizeof path, name.c_str()) &&
                 RecordStoreAdd(appStore, kScanDeviceType, kScanDeviceId, &entry, sizeof entry, "");
  const std::string cmyk = argc > 13 && std::strcmp(argv[13], "-") != 0 ? argv[13] : "";
  if (argc > 11) written = written && WriteColourDefaults(appStore, argv[11], cmyk);
  CloseFile(appStore);

  // The frames: one image pixel for each pixel of the scan.
  PString deviceName;
  MakeEntryDeviceName(entry, deviceName);
  MakeDevicePrefsFileNameOf(storeName, deviceName);
  FileHandle deviceStore = OpenStore(prefs, storeName);
  if (!deviceStore) return 1;
  FrameRecord frame = {};
  FrameInitInputs inputs = {};
  inputs.defaults = &gDefaults;
  inputs.scanAreaWidth = static_cast<double>(width) / dpi;
  inputs.scanAreaHeight = static_cast<double>(height) / dpi;
  InitFrameRecordWith(&frame, true, inputs);
  frame.bitsPerChannel = static_cast<uint8_t>(bits);
  frame.colorMode = rgb ? 2 : 1;
  frame.filterMode = 0;
  frame.scanPixelWidth = static_cast<uint16_t>(width);
  frame.outputResolution = static_cast<int16_t>(dpi);
  if (filterValues > 0) {
    frame.filterMode = static_cast<uint8_t>(filter[0]);
    frame.sharpen941 = static_cast<uint8_t>(static_cast<int8_t>(filter[1]));
    frame.sharpen942 = static_cast<uint16_t>(filter[2]);
    frame.sharpen944 = static_cast<uint16_t>(filter[3]);
    frame.sharpen948 = static_cast<uint8_t>(filter[4]);
    frame.sharpen1488 = static_cast<uint16_t>(filter[5]);
    frame.sharpen1490 = static_cast<uint16_t>(filter[6]);
    frame.sharpenFlag = static_cast<uint8_t>(filter[7]);
  }
  if (filterValues == 10) {
    frame.screenRulingCopy = static_cast<int16_t>(filter[8]);
    frame.outputResolution = static_cast<int16_t>(filter[9]);
  }
  if (argc > 12) frame.quarterTurns = static_cast<uint16_t>(std::atoi(argv[12]));
  if (argc > 14 && !SetSelectiveColor(&frame, argv[14])) {
    std::fprintf(stderr, "a selective colour correction is the mode word, a colon and 36 or 72 values\n");
    return 2;
  }
  ToneBlock& master = frame.tone[0];
  for (size_t p = 0; p < std::size(master.gradationY); ++p) {
    master.gradationY[p] = static_cast<uint16_t>(TruncRound(256.0 * std::pow(master.gradationX[p] / 256.0, 1.0 / gamma)));
  }
  for (int i = 0; i < frames; ++i) {
    const int rows = height - 4 * i;
    frame.height = static_cast<double>(rows) / dpi;
    frame.scanPixelHeight = static_cast<uint16_t>(rows);
    written = written && RecordStoreAdd(deviceStore, CurrentFrameListType(), kFirstFrameRecordId + i, &frame,
                                        sizeof frame, kFrameRecordName);
  }
  CloseFile(deviceStore);
  std::printf("seeded %s for %s: %dx%d at %d dpi, %s, %d bits, %d frames, gamma %g, filter kind %d\n", prefs.c_str(),
              name.c_str(), width, height, dpi, rgb ? "rgb" : "grey", bits, frames, gamma, frame.filterMode);
  return written ? 0 : 1;
}
