#include "tone/fixed_pipette_window.h"

#include "state/data_source_state.h"

// The fixed-pipette window is not built yet: no window opens.
void UpdateFixedPipetteWindow() {}

// The points' markers are not drawn on the preview yet, so there are none to erase.
void ClearFixedPipettePoints() {
  for (MarkedPoint& point : gMarkedPoints) point.set = false;
}
