// The automatic adjustment of a job's file entry before it is written: a
// preview of the entry's image is made as the main window would make it, the
// adjustment measures the entry's frame on it, and the main window's preview
// state is put back.
#pragma once

#include "records/frame_record.h"

// The run has the entry's file open as the device and the entry's frame as
// the current frame, whose tone blocks take the adjustment. Failed (true)
// when no preview could be made.
bool AutoAdjustFileEntry(const char* imagePath, const FrameRecord& frame);
