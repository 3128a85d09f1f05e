// The user-interface state records that a session loads and saves.
#pragma once

// Start-up initialisers of the tone tools and frame sets.
void InitToneTools();
// The capabilities of the open device into the user-interface state.
void InitDeviceCapabilities();
void SavePreviewBox();
void SaveDialogPositions();
void SaveColourBalanceAndDefaults();
// Moves the tool-strip flag into its saved copy and clears it.
void SaveToolStripFlag();

struct FrameRecord;
// The preview frame's defaults into the record; 0.
int InitPreviewFrameRecordCb(FrameRecord* frame);
