#include "frames/frame_limits.h"

#include <cmath>

#include "state/data_source_state.h"

namespace {

bool IsLeftHandle(int handle) { return handle == 1 || handle == 7 || handle == 8; }
bool IsTopHandle(int handle) { return handle == 1 || handle == 2 || handle == 3; }

// One axis: origin and size against the area's extent.
void LimitAxis(double* origin, double* size, double extent, bool nearSideDragged) {
  const double minimum = extent * 0.01;
  if (*size < minimum) {
    if (nearSideDragged) *origin = *origin + *size - minimum;
    *size = minimum;
  }
  if (*origin < 0.0) {
    if (nearSideDragged) *size = *origin + *size;
    *origin = 0.0;
  }
  if (*size > extent) *size = extent;
  if (*origin + *size > extent) *size = extent - *origin;
}

bool Moved(double before, double after) { return std::fabs(after - before) > 0.000001; }

}  // namespace

bool LimitFrameRect(double* x, double* y, double* width, double* height, int handle) {
  const double x0 = *x, y0 = *y, w0 = *width, h0 = *height;
  LimitAxis(x, width, gScanAreaInches.width, IsLeftHandle(handle));
  LimitAxis(y, height, gScanAreaInches.height, IsTopHandle(handle));
  return Moved(x0, *x) || Moved(y0, *y) || Moved(w0, *width) || Moved(h0, *height);
}
