// The scan mode of the frame panel's combo: items 1 "Normal", 2 "Stapel
// Modus" (every frame of the list), 3 "Normal (Datei)" and 4 "Stapel Modus
// (Datei)" (the scan written to files instead of handed to the host).
#pragma once

struct ScanMode {
  bool batch = false;
  bool toFile = false;
};

// The mode of a 1-based item; any other item is the normal mode.
ScanMode ScanModeOfItem(int item);
// The item that shows the mode.
int ScanModeItem(ScanMode mode);
