#include "output/writer_progress.h"

namespace {
ProgressPaneHooks gPanes;
}

void InstallProgressPaneHooks(const ProgressPaneHooks& hooks) { gPanes = hooks; }
const ProgressPaneHooks& ProgressPanes() { return gPanes; }
