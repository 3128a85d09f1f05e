// What the output layer installs at module attach: the multi-scan in place of
// the scan session's single device read.
#pragma once

void InstallOutputSessionHooks();
