// Default frame sets carried by the module as resources of the frame-set
// types, installed once into the device store (run by the colour presets'
// install at start-up).
#pragma once

// Names of installed sets: the string-table entry of the resource id plus this.
constexpr unsigned kDefaultFrameSetNameStrings = 64000;

// When the device store holds no record of the type, every module resource of
// that resource type becomes a record of the type under a new id.
void InstallDefaultFrameSets(const char* type);
// The types "FRsA", "FRsD", "FRsO" and "FRs0" to "FRs9".
void InstallAllDefaultFrameSets();
