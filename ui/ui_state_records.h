// The user-interface state records that a session loads and saves.
#pragma once

// The working state a new main window starts from: the stored defaults and
// colour balance, the frame templates and the tone-channel selection.
void ResetUiState();
// Start-up initialisers of the tone tools and frame sets.
void InitToneTools();
// The capabilities of the open device into the user-interface state.
void InitDeviceCapabilities();
// Opens the current device (the row of the open image) again; nothing when
// the device table does not list it.
void ReopenCurrentDevice();
// Moves the tool-strip flag into its saved copy and clears it.
void SaveToolStripFlag();
// Every user-interface record, as the scan command, the tear-down and the
// rendering of a frame save it: the selected device, the preview orientation
// and box, the frame list, the dialog positions, the colour balance and
// defaults, and the tool-strip flag.
void SaveUserInterfaceState();

struct FrameRecord;
// The preview frame's defaults into the record; 0, for callers that need a status.
int InitPreviewFrameRecordCb(FrameRecord* frame);
