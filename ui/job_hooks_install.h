// What the main window lends the job runs of the output layer, installed at module attach.
#pragma once

void InstallUserInterfaceJobHooks();
