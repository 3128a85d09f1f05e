// Working state of the selective colour correction and the 12-colour matrix
// correction, and their factory presets in the application store.
#pragma once

// Write the factory presets into the application store when they are missing.
void InstallSelectiveColorPresets();
void InstallColorMatrixPresets();
// Reset the working state: the selective correction to its default matrix, the matrix correction to neutral.
void ResetSelectiveColor();
void InitColorMatrix12State();
