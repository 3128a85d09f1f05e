// What the output layer installs at module attach: the multi-scan in place of
// the scan session's single device read, and the batch counter of the save-as dialog.
#pragma once

void InstallOutputSessionHooks();
