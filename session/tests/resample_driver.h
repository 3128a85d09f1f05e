// Drives one whole read through the resampling engine the way the device
// layer does: ask how many source lines are needed, supply at most `split` of
// them, ask for `band` rows, until every output row is made.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "session/resample.h"

template <typename Sample>
using ResampleMember = uint32_t (*)(const Sample*, Sample*, Sample*, uint32_t, uint32_t, uint32_t, uint32_t,
                                    uint32_t, uint32_t);

struct ResampleRead {
  uint32_t sourceWidth;
  uint32_t sourceRows;
  uint32_t outputWidth;
  double verticalScale;
  uint32_t planes;  // samples of one line: planes x width
  uint32_t outputRowSamples;
  uint32_t band;
  uint32_t split;
  uint32_t rows;  // output rows to make; a source of one line makes any number
};

// Output rows one after the other; fewer rows than the engine reports when the
// read got stuck (which a test then sees).
template <typename Sample>
std::vector<Sample> RunResampleRead(ResampleMember<Sample> member, const ResampleRead& read,
                                    const std::vector<Sample>& source) {
  std::vector<Sample> output;
  const size_t sourceLineSamples = static_cast<size_t>(read.planes) * read.sourceWidth;
  std::vector<Sample> queue(static_cast<size_t>(ResampleQueueLines()) * read.planes * read.outputWidth);
  std::vector<Sample> band(static_cast<size_t>(read.band) * read.outputRowSamples);
  const uint32_t rows = std::min(read.rows, ResampleOutputRows());
  uint32_t made = 0;
  uint32_t supplied = 0;
  while (made < rows) {
    const uint32_t wanted = std::min(read.band, rows - made);
    const uint32_t needed = ResampleLinesNeeded(wanted);
    const uint32_t given = std::min({needed, read.split, read.sourceRows - supplied});
    const uint32_t now = member(source.data() + supplied * sourceLineSamples, queue.data(), band.data(), given, 0,
                                read.sourceWidth, made, wanted, read.outputWidth);
    supplied += given;
    made += now;
    output.insert(output.end(), band.begin(), band.begin() + static_cast<size_t>(now) * read.outputRowSamples);
    if (given == 0 && now == 0) break;
  }
  return output;
}
