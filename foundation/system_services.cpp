#include "foundation/system_services.h"

namespace {

SystemServices* gInstalledServices = nullptr;

}  // namespace

SystemServices& System() { return gInstalledServices ? *gInstalledServices : PlatformSystemServices(); }

void InstallSystemServices(SystemServices* services) { gInstalledServices = services; }

std::vector<uint32_t> SystemServices::ResourceIds(ModuleHandle, const char*) { return {}; }

uint32_t SystemServices::TickCount() {
  SystemServices& platform = PlatformSystemServices();
  return &platform == this ? 0 : platform.TickCount();
}
