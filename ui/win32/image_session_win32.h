// Opening another image (or the current one again) as the session's device
// while the main window stays: the settings of the old image are saved, the
// new image's store, frames and preview taken up.
#pragma once

#include "records/device_entry.h"

// True when the entry's image was opened; a failed open keeps the previous
// image with its settings. posted (when given) tells whether a prescan was
// posted; discard deletes the new image's stored settings first.
bool ReopenImageSession(const DeviceEntry& entry, bool* posted, bool discard);
// Hands the re-opening to the device layer below (ReinitializeSource).
void InstallImageSessionReopen();
