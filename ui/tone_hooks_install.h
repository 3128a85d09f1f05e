// Hands the tone engine what it needs of the main window (tone/tone_window_hooks.h).
#pragma once

void InstallUserInterfaceToneHooks();
