// The IT8 calibration state of the data source.
#pragma once

// Starts the calibration state afresh.
void ResetColorCalibration();
// Releases the calibration state.
void FreeColorCalibration();
