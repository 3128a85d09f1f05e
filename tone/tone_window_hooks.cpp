#include "tone/tone_window_hooks.h"

namespace {

ToneWindowHooks gHooks;

}  // namespace

void InstallToneWindowHooks(const ToneWindowHooks& hooks) { gHooks = hooks; }

const ToneWindowHooks& ToneWindow() { return gHooks; }
