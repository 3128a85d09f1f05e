// The few system services the source's entry and state machine need, so that
// the logic itself stays free of the window system. Implemented over Win32 for
// the product (twain/win32) and as a recording stand-in for the host checks
// (twain/host).
#pragma once

#include "state/platform_refs.h"
#include "twain/twain_records.h"

// LoadLibraryA / FreeLibrary of a system library; null when it cannot be had.
ModuleRef LoadSystemLibrary(const char* name);
void FreeSystemLibrary(ModuleRef module);

// Offers the host's event (a window message) to a modeless dialog; true when the dialog took it.
bool DialogTakesEvent(WindowRef dialog, TW_MEMREF event);

// An accelerator table of this module's resources; null when missing.
AcceleratorRef LoadModuleAccelerators(int id);

// One DSM_Entry call of the source manager library (loaded and freed around
// it): origin, destination, DG_CONTROL / DAT_NULL / the message, no data.
// A manager that cannot be loaded or has no entry is silently skipped.
void PostToSourceManager(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT16 message);

// The presets' "Löschen..." reaches the frames' record clean-up dialog.
void InstallRecordCleanupHook();

// Starts "<settings folder><help folder>\close.exe" minimised and waits
// half a second, for the one host that needs the companion program.
void StartCloseCompanion(const char* settingsFolder);
