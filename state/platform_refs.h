// Opaque references to the window system's objects (modules, windows,
// accelerator tables) as the session state keeps them; only the Win32 files
// look inside.
#pragma once

typedef void* ModuleRef;
typedef void* WindowRef;
typedef void* AcceleratorRef;
