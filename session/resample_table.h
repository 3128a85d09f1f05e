// Contribution tables of the filtered resampling: for each output position the
// source positions it reads and their weights, computed once per direction so
// that the line loops only multiply and add.
#pragma once

#include <cstdint>
#include <vector>

enum ResampleKernel : uint32_t {
  kKernelSinc = 4,   // reductions: a sinc whose support grows with the scale
  kKernelCubic = 5,  // equal size and enlargements: four cubic taps
};

struct ContributionTable {
  uint32_t kernel = 0;
  uint32_t elementStep = 1;
  uint32_t sourceSize = 0;
  uint32_t outputSize = 0;
  double scale = 0.0;    // (source size - 1) / (output size - 1)
  double support = 0.0;  // reach of the kernel in source positions
  uint32_t taps = 0;     // source positions per output
  std::vector<uint32_t> indices;  // outputSize x taps, clamped to the source, times elementStep
  std::vector<double> weights;    // outputSize x taps
};

// Fills the table for sourceSize -> outputSize. An output of one position takes
// the source's centre sample. False (and an empty table) for a zero size or
// when the arrays cannot be allocated.
bool BuildContributionTable(ContributionTable* table, uint32_t sourceSize, uint32_t outputSize);

// Releases the arrays and clears the sizes.
void FreeContributionTable(ContributionTable* table);
