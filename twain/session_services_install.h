// Hands the session's windows and stores to the foundation's progress
// windows and batch counter.
#pragma once

void InstallSourceSessionServices();
