// The global settings block: its built-in values, its load with the checks
// that keep a stored block usable, and its save, together with the two small
// records stored beside it (the active marked points and the colour-balance gear).
#pragma once

#include "records/defaults_block.h"

// Every listed field of the block := its built-in value; the RGB basis comes
// from the monitor matching. Bytes the list does not name keep their content.
void SetBuiltInDefaults(DefaultsBlock& block);
// The checks of a block just read: out-of-range values back into range.
void CheckLoadedDefaults(DefaultsBlock& block);
// The checks that depend on the colour services the session can offer.
void ReconcileDefaultsWithColourServices(DefaultsBlock& block);

// The active-point flags, the colour-balance gear and gDefaults from the
// application store (built-in values where nothing is stored), checked.
void LoadColourBalanceAndDefaults();
// Writes the three records back to the application store.
void SaveColourBalanceAndDefaults();
