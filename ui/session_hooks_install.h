// Hands the scan session what it needs of the user interface (session/user_interface_hooks.h),
// and the frames the panel's services and the preview's zoom.
#pragma once

void InstallUserInterfaceSessionHooks();
