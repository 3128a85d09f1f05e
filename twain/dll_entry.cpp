// The data source module's two entry points: the DLL entry and DS_Entry.
#include <windows.h>

#include "twain/twain_records.h"

static HINSTANCE gModule;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    gModule = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

// Until the triplet dispatcher exists every call is refused.
extern "C" TW_UINT16 TW_CALLINGSTYLE DS_Entry(pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF) {
  return TWRC_FAILURE;
}
