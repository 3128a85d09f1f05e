// Hands the scan session what it needs of the user interface (session/user_interface_hooks.h).
#pragma once

void InstallUserInterfaceSessionHooks();
