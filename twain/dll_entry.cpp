// The data source module's two entry points: the DLL entry and DS_Entry.
#include <windows.h>

#include "twain/dispatch.h"
#include "twain/twain_records.h"
#include "twain/twain_state.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (!instance) return FALSE;
  if (reason == DLL_PROCESS_ATTACH) return OnModuleAttach(instance) ? TRUE : FALSE;
  return TRUE;
}

extern "C" TW_UINT16 TW_CALLINGSTYLE DS_Entry(pTW_IDENTITY origin, TW_UINT32 dataGroup, TW_UINT16 dataArgument,
                                               TW_UINT16 message, TW_MEMREF data) {
  return HandleDsEntry(origin, dataGroup, dataArgument, message, data);
}
