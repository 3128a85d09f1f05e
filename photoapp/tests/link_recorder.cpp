// Stands in for the browser in the link tests: appends the command line it
// was started with to the file that ZIR_LINK_LOG names, and ends.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char log[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("ZIR_LINK_LOG", log, MAX_PATH)) return 1;
  FILE* file = std::fopen(log, "ab");
  if (!file) return 1;
  std::fprintf(file, "%s\n", GetCommandLineA());
  std::fclose(file);
  return 0;
}
