// DS_Entry's logic and the dispatcher that sends each triplet to its handler.
#pragma once

#include "twain/twain_state.h"

typedef TW_UINT16 (*TripletHandler)(const TwainCall& call);

// One table row; a table ends with a row whose handler is null.
struct DispatchEntry {
  TW_UINT32 dataArgument;
  TripletHandler handler;
};

extern const DispatchEntry kControlTable[];
extern const DispatchEntry kImageTable[];

// The first handler of the table whose data argument matches; TWCC_BADPROTOCOL when none does.
TW_UINT16 Dispatch(const TwainCall& call, const DispatchEntry* table);

// Everything DS_Entry does, for the module's export to call.
TW_UINT16 HandleDsEntry(pTW_IDENTITY origin, TW_UINT32 dataGroup, TW_UINT16 dataArgument, TW_UINT16 message,
                        TW_MEMREF data);
