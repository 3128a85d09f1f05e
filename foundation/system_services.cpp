#include "foundation/system_services.h"

namespace {

SystemServices* gInstalledServices = nullptr;

}  // namespace

SystemServices& System() { return gInstalledServices ? *gInstalledServices : PlatformSystemServices(); }

void InstallSystemServices(SystemServices* services) { gInstalledServices = services; }

uint32_t SystemServices::TickCount() {
  SystemServices& platform = PlatformSystemServices();
  return &platform == this ? 0 : platform.TickCount();
}
