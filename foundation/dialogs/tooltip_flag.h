// Whether the data source's dialogs show tooltips: on while the user interface
// is up, off while a transfer runs.
#pragma once

extern bool gTooltipsEnabled;
