// Module-wide state below the TWAIN entry: values that live outside the
// session state and survive MSG_OPENDS.
#pragma once

#include "records/session_block.h"

extern SessionBlock* gSession;  // set at MSG_OPENDS
extern SessionBlock gSessionStorage;
