#include "foundation/file_names.h"

#include <cstdio>
#include <cstring>

#include "foundation/pstring.h"

namespace {

const ScanNameSource* gScanNameSource = nullptr;

void AppendDeviceName(unsigned char* out) {
  PString name;
  if (gScanNameSource && gScanNameSource->deviceName)
    gScanNameSource->deviceName(name);
  else
    PStrFromC(name, "???");
  PStrAppend(out, name);
}

void MakeSessionFileName(unsigned char* out, const char* word, bool transparent, bool positionMode,
                         int16_t position) {
  PStrFromC(out, word);
  AppendOriginSuffix(out, transparent, positionMode, position);
  AppendDeviceName(out);
  PStrAppendC(out, ")");
}

void AppendTrimmed(unsigned char* out, const char* text) {
  size_t length = std::strlen(text);
  while (length > 0 && text[length - 1] == ' ') --length;
  PString part;
  PStrFromC(part, "");
  std::memcpy(part + 1, text, length > 255 ? 255 : length);
  part[0] = static_cast<unsigned char>(length > 255 ? 255 : length);
  PStrAppend(out, part);
}

}  // namespace

void SetScanNameSource(const ScanNameSource* source) { gScanNameSource = source; }

void MakeDeviceName(unsigned char* out, const char* vendor, const char* model) {
  PStrFromC(out, "");
  AppendTrimmed(out, vendor);
  PStrAppendC(out, " ");
  AppendTrimmed(out, model);
}

void MakeAppPrefsFileName(unsigned char* out) { PStrFromC(out, "QBApp (RazoZUR).prf"); }

void MakeDevicePrefsFileName(unsigned char* out) {
  PString name;
  PStrFromC(name, "");
  AppendDeviceName(name);
  MakeDevicePrefsFileNameOf(out, name);
}

void MakeDevicePrefsFileNameOf(unsigned char* out, const unsigned char* deviceName) {
  PStrFromC(out, "QB (");
  PStrAppend(out, deviceName);
  PStrAppendC(out, ").prf");
}

void MakePreviewFileName(unsigned char* out, bool transparent, bool positionMode, int16_t position) {
  MakeSessionFileName(out, "QBprev", transparent, positionMode, position);
}

void MakePrescanFileName(unsigned char* out, bool transparent, bool positionMode, int16_t position) {
  MakeSessionFileName(out, "QBPrevL", transparent, positionMode, position);
}

void MakeZoomFileName(unsigned char* out, bool transparent, bool positionMode, int16_t position) {
  MakeSessionFileName(out, "QBzoom", transparent, positionMode, position);
}

void MakeSharpenPreviewFileName(unsigned char* out, bool transparent, bool positionMode, int16_t position,
                                bool descreen) {
  MakeSessionFileName(out, descreen ? "QBdscr" : "QBunsh", transparent, positionMode, position);
}

void MakeProfileName(unsigned char* out, bool transparent, bool positionMode, int16_t position) {
  PStrFromC(out, "QB_");
  if (!transparent && !positionMode)
    PStrAppendC(out, "R (");
  else
    AppendOriginSuffix(out, transparent, positionMode, position);
  PStrAppendC(out, "ZIR)");
}

void AppendOriginSuffix(unsigned char* out, bool transparent, bool positionMode, int16_t position) {
  if (positionMode) {
    char number[8];
    std::snprintf(number, sizeof number, "%d", position);
    PStrAppendC(out, position > 0 ? number : "O");
  } else if (transparent) {
    PStrAppendC(out, "T");
  }
  if (gScanNameSource && gScanNameSource->negative && gScanNameSource->negative()) {
    bool alternate = gScanNameSource->negativeAlternate && gScanNameSource->negativeAlternate();
    PStrAppendC(out, alternate ? "M" : "N");
  }
  PStrAppendC(out, " (");
}
