// The fixed-pipette tool window, which shows the fixed measuring points'
// colours before and after the frame's corrections.
#pragma once

// Opens the window when a point is set (or lays it out again), closes it when none is.
void UpdateFixedPipetteWindow();
// No fixed measuring point is set any more.
void ClearFixedPipettePoints();
