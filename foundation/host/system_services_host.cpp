// The host build has no system to ask: its services are a ScriptedSystem with
// neutral answers (no keys down, no libraries, no resources) whose module is
// the running program.
#include <unistd.h>

#include "foundation/scripted_system.h"

SystemServices& PlatformSystemServices() {
  static ScriptedSystem* services = [] {
    auto* s = new ScriptedSystem;
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0) s->modulePath.assign(path, static_cast<size_t>(length));
    return s;
  }();
  return *services;
}
