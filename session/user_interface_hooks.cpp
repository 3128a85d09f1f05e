#include "session/user_interface_hooks.h"

namespace {

SessionUserInterfaceHooks gHooks;

}  // namespace

void InstallSessionUserInterfaceHooks(const SessionUserInterfaceHooks& hooks) { gHooks = hooks; }

const SessionUserInterfaceHooks& SessionUserInterface() { return gHooks; }
