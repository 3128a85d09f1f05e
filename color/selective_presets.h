// The six-colour presets: whole corrections "P0CM" and per-colour presets
// "P1CM".."P6CM" (colour index + 1) in the application store, 38 of them
// installed by the program; and the move of legacy records from the device
// store into the application store.
#pragma once

#include "color/matrix_presets.h"

constexpr int kSelectiveFactoryCount = 38;
// Default preset name of colour k: string 416 + k ("Rot_" .. "Gelb_").
constexpr uint32_t kColourStemString = 416;

extern const MatrixPresetFamily kSelectivePresets;
extern const FactoryPreset kSelectiveFactoryPresets[kSelectiveFactoryCount];

// "P%dCM" with colour + 1.
RecordType SelectivePresetType(int colour);

// The install of the frames' default frame sets and the built-in film
// profiles, which the upper layers own; installed at module attach.
typedef void (*OwnerPresetInstaller)();
void InstallOwnerPresetInstaller(OwnerPresetInstaller installer);

// Factory presets of every colour without records, then the owners' default
// presets, then the legacy records moved from the device store.
void InstallSelectiveColorPresets();
