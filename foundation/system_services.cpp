#include "foundation/system_services.h"

namespace {

SystemServices* gInstalledServices = nullptr;

}  // namespace

SystemServices& System() { return gInstalledServices ? *gInstalledServices : PlatformSystemServices(); }

void InstallSystemServices(SystemServices* services) { gInstalledServices = services; }
