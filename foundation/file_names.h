// The names of the stores, preview files and generated profile, built as
// PStrings from fixed words, a suffix telling the kind of picture, and the
// current device's name.
#pragma once

#include <cstdint>

// What the names need of the session: the current device's name and the
// negative flags of the session settings. The device layer installs it;
// without one the device is unknown ("???") and pictures are positive.
struct ScanNameSource {
  void (*deviceName)(unsigned char* name);
  bool (*negative)();
  // Selects the letter "M" instead of "N" for a negative.
  bool (*negativeAlternate)();
};
void SetScanNameSource(const ScanNameSource* source);

// A device name from its table entry: vendor and model without trailing
// blanks, joined by one blank.
void MakeDeviceName(unsigned char* out, const char* vendor, const char* model);

// "QBApp (RazoZUR).prf" and "QB (" + device + ").prf".
void MakeAppPrefsFileName(unsigned char* out);
void MakeDevicePrefsFileName(unsigned char* out);
// The device store's name for a given device name (a PString), so that the
// stores of devices other than the current one can be found.
void MakeDevicePrefsFileNameOf(unsigned char* out, const unsigned char* deviceName);
// "QBprev", "QBPrevL", "QBzoom" + suffix + device + ")".
void MakePreviewFileName(unsigned char* out, bool transparent, bool positionMode, int16_t position);
void MakePrescanFileName(unsigned char* out, bool transparent, bool positionMode, int16_t position);
void MakeZoomFileName(unsigned char* out, bool transparent, bool positionMode, int16_t position);
// "QB" + ("dscr" or "unsh") + suffix + device + ")".
void MakeSharpenPreviewFileName(unsigned char* out, bool transparent, bool positionMode, int16_t position,
                                bool descreen);
// "QB_" + ("R (" for a reflective picture outside position mode, else the suffix) + "ZIR)".
void MakeProfileName(unsigned char* out, bool transparent, bool positionMode, int16_t position);
// Appends the position number ("O" for none) in position mode, else "T" for
// a transparent picture; then "N" or "M" for a negative; then " (".
void AppendOriginSuffix(unsigned char* out, bool transparent, bool positionMode, int16_t position);
