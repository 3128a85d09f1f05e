#include "output/job_hooks.h"

namespace {
JobWindowHooks gJobWindowHooks;
}

void InstallJobWindowHooks(const JobWindowHooks& hooks) { gJobWindowHooks = hooks; }
const JobWindowHooks& JobWindow() { return gJobWindowHooks; }
