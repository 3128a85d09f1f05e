// What the host checks' stand-in for the system services saw, for tests.
#pragma once

#include <vector>

#include "twain/platform.h"

struct PostedMessage {
  TW_UINT32 originId;
  TW_UINT32 destinationId;
  TW_UINT16 message;
};

// Every message posted to the source manager, in order.
std::vector<PostedMessage>& HostPostedMessages();
