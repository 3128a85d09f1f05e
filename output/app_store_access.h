// The application store for one call: the open store, or opened for the call
// and closed again when it was closed.
#pragma once

#include "foundation/file_io.h"
#include "session/scan_session.h"
#include "state/data_source_state.h"

template <typename Action>
bool WithAppStore(Action action) {
  const bool wasOpen = gAppStore != nullptr;
  FileHandle store = wasOpen ? gAppStore : OpenAppStore();
  const bool result = store && action(store);
  if (!wasOpen && store) CloseAppStore();
  return result;
}
