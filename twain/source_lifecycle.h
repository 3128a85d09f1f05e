// The control-group handlers that open, enable, disable and close the
// source, the status and transfer-group operations, and the two messages the
// source posts to the source manager.
#pragma once

#include "twain/twain_state.h"

TW_UINT16 OnIdentity(const TwainCall& call);
TW_UINT16 OnUserInterface(const TwainCall& call);
TW_UINT16 OnStatus(const TwainCall& call);
TW_UINT16 OnTransferGroup(const TwainCall& call);

TW_UINT16 OpenSource(const TwainCall& call);
TW_UINT16 CloseSource(const TwainCall& call);
TW_UINT16 EnableSource(const TwainCall& call);
TW_UINT16 DisableSource(const TwainCall& call);

// The session's user interface: stores, device, records, main window.
bool BuildUserInterface();
void TearDownUserInterface();

// The scan is prepared: state 600 and MSG_XFERREADY to the source manager.
void AnnounceTransferReady();
// The user closed the main window: MSG_CLOSEDSREQ to the source manager.
void RequestCloseSource();
