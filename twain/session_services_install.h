// Hands the session's windows and stores to the foundation's progress
// windows and batch counter.
#pragma once

void InstallSourceSessionServices();
// Gives the colour subsystem's profile writer the tone engine's grey balance.
void InstallColorServices();
