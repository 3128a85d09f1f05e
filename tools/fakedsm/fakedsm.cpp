// A recording stand-in for the TWAIN source manager: every call to DSM_Entry
// is appended as one line to the file named by ZIR_FAKEDSM_LOG (default
// "fakedsm.log" in the current folder), so tests can see what a data source posted.
#include <windows.h>

#include <cstdio>

#include "twain/twain_records.h"

static void AppendIdentity(FILE* log, const char* label, const TW_IDENTITY* identity) {
  if (identity) {
    std::fprintf(log, " %s=%lu:%.34s", label, static_cast<unsigned long>(identity->Id), identity->ProductName);
  } else {
    std::fprintf(log, " %s=null", label);
  }
}

extern "C" TW_UINT16 TW_CALLINGSTYLE DSM_Entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg,
                                                TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF) {
  // The process environment, not the C runtime's copy, which a host may have changed since start.
  char path[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("ZIR_FAKEDSM_LOG", path, sizeof path);
  FILE* log = std::fopen(length > 0 && length < sizeof path ? path : "fakedsm.log", "a");
  if (!log) return TWRC_FAILURE;
  std::fprintf(log, "DSM_Entry");
  AppendIdentity(log, "origin", origin);
  AppendIdentity(log, "dest", destination);
  std::fprintf(log, " DG=0x%lx DAT=0x%04x MSG=0x%04x\n", static_cast<unsigned long>(dg), dat, msg);
  std::fclose(log);
  return TWRC_SUCCESS;
}
