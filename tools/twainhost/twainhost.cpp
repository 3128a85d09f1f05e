// The TWAIN test host: plays the application. It loads a data source by path,
// takes its DS_Entry and prints what the source answers.
//   twainhost <data source path>
#include <windows.h>

#include <cstdio>

#include "twain/twain_records.h"

static void PrintIdentity(const TW_IDENTITY& identity) {
  std::printf("Identity: version %u.%u \"%.34s\" language %u country %u protocol %u.%u groups %lu\n",
              identity.Version.MajorNum, identity.Version.MinorNum, identity.Version.Info,
              identity.Version.Language, identity.Version.Country, identity.ProtocolMajor,
              identity.ProtocolMinor, static_cast<unsigned long>(identity.SupportedGroups));
  std::printf("Manufacturer: %.34s\nProductFamily: %.34s\nProductName: %.34s\n", identity.Manufacturer,
              identity.ProductFamily, identity.ProductName);
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: twainhost <data source>\n");
    return 2;
  }
  HMODULE source = LoadLibraryA(argv[1]);
  if (!source) {
    std::printf("cannot load %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  auto entry = reinterpret_cast<DSENTRYPROC>(GetProcAddress(source, "DS_Entry"));
  if (!entry) {
    std::printf("%s has no DS_Entry\n", argv[1]);
    FreeLibrary(source);
    return 1;
  }
  std::printf("loaded %s\n", argv[1]);

  TW_IDENTITY identity = {};
  TW_UINT16 rc = entry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity);
  std::printf("DG_CONTROL/DAT_IDENTITY/MSG_GET: rc=%u\n", rc);
  if (rc == TWRC_SUCCESS) PrintIdentity(identity);

  FreeLibrary(source);
  return 0;
}
