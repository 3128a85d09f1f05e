#include "ui/ui_state_records.h"

// Not built yet: there is no user-interface state to load or save.
void InitToneTools() {}
void InitDeviceCapabilities() {}
void SavePreviewBox() {}
void SaveDialogPositions() {}
void SaveColourBalanceAndDefaults() {}
void SaveToolStripFlag() {}

// Not built yet: the frame keeps what it holds.
int InitPreviewFrameRecordCb(FrameRecord*) { return 0; }
