// Runs whole planar images through the band filters and the resampler the
// way a band producer does, band by band, for the tests and the numpy check.
#pragma once

#include <cstdint>
#include <vector>

#include "records/frame_record.h"

// A planar image: rows of `planes` planes of `width` samples, 1 or 2 bytes a sample.
struct PlanarImage {
  int32_t width;
  int32_t rows;
  int32_t planes;
  int32_t bits;  // 8 or 16
  std::vector<uint8_t> data;

  uint32_t RowBytes() const { return static_cast<uint32_t>(width * planes * (bits == 16 ? 2 : 1)); }
};

// The neighbourhood radius the producer passes for the frame.
int32_t SampleFactorOf(const FrameRecord& frame);

// The frame's filter over the image in bands of `bandRows` rows. The scan's
// finished flag comes with the last band, or with one more call without rows
// when releaseCall is set. The rows each call hands on go to *handedOn.
PlanarImage SharpenInBands(const FrameRecord& frame, bool negative, const PlanarImage& image, int32_t bandRows,
                           bool releaseCall, std::vector<int32_t>* handedOn = nullptr);

// The image resampled by the descreening stage to outWidth x outRows in bands
// of bandRows rows; a line source that gives at most shortReads rows per
// request when shortReads > 0.
PlanarImage ScaleInBands(const PlanarImage& image, int32_t outWidth, int32_t outRows, int32_t bandRows,
                         int32_t shortReads);
