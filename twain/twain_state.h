// Module-wide TWAIN values: they live outside the session state and survive
// MSG_OPENDS, and the call record that every triplet handler receives.
#pragma once

#include <cstdint>

#include "state/module_state.h"
#include "twain/platform.h"
#include "twain/twain_records.h"

// The TWAIN state times 100: 300 (loaded) to 700 (transferring).
enum : int32_t {
  kStateLoaded = 300,
  kStateOpen = 400,
  kStateEnabled = 500,
  kStateTransferReady = 600,
  kStateTransferring = 700,
};

extern int32_t gTwainState;
extern TW_UINT16 gConditionCode;   // of the last failed operation; DAT_STATUS reads and clears it
extern TW_IDENTITY gAppIdentity;   // Id 0 while no application is connected
extern TW_IDENTITY gSourceIdentity;
extern ModuleRef gComctlModule;    // loaded from MSG_ENABLEDS to MSG_DISABLEDS
extern void* gPlatformData;        // the host's parent window, reached through the session's platform data

// Fills the source's own identity as the module announces it.
void FillSourceIdentity(TW_IDENTITY* identity);
// Process attach of the module: keeps the instance, forgets any application
// and fills the source's identity. False for a null instance.
bool OnModuleAttach(ModuleRef instance);

// One call from the source manager, as the dispatcher hands it on.
struct TwainCall {
  pTW_IDENTITY origin;
  TW_UINT32 dataGroup;
  TW_UINT16 dataArgument;
  TW_UINT16 message;
  TW_MEMREF data;
};

// Records the condition code and answers TWRC_FAILURE.
TW_UINT16 FailWith(TW_UINT16 conditionCode);

// True when the TWAIN text field holds exactly the text (case-sensitive).
bool TwainTextIs(const char (&field)[34], const char* text);
