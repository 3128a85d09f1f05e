#include "foundation/progress/session_services.h"

namespace {

SessionServices gSessionServices;

WindowHandle Ask(WindowHandle (*window)()) { return window ? window() : nullptr; }

}  // namespace

void InstallSessionServices(const SessionServices& services) { gSessionServices = services; }
const SessionServices& InstalledSessionServices() { return gSessionServices; }

WindowHandle MainDialogWindow() { return Ask(gSessionServices.mainDialog); }
WindowHandle JobManagerWindow() { return Ask(gSessionServices.jobManagerWindow); }
WindowHandle MultiJobWindow() { return Ask(gSessionServices.multiJobWindow); }
WindowHandle OwnerWindowForDialogs() { return Ask(gSessionServices.ownerWindow); }
