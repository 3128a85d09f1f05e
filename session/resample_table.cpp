#include "session/resample_table.h"

#include <cmath>
#include <new>

#include "foundation/round.h"

namespace {

const double kPi = 3.1415926535;
// Below this the sinc is 1 to the precision the weights are used with.
const double kSincFlat = 0.0031415926535;

uint32_t ClampPosition(double position, uint32_t size) {
  if (position < 0.0) return 0;
  if (position > size - 1.0) return size - 1;
  return static_cast<uint32_t>(position);
}

// Sinc taps around centre, normalised to a sum of 1.
void FillSincTaps(const ContributionTable& table, double centre, uint32_t* indices, double* weights) {
  const double k = kPi / table.scale;
  const double first = std::floor(centre + table.support) - table.taps + 1;
  double sum = 0.0;
  for (uint32_t t = 0; t < table.taps; ++t) {
    const double position = first + t;
    const double distance = std::fabs(position - centre);
    double weight = 0.0;
    if (distance < table.support) {
      const double x = distance * k;
      weight = x <= kSincFlat ? 1.0 : std::sin(x) / x;
    }
    weights[t] = weight;
    indices[t] = ClampPosition(position, table.sourceSize) * table.elementStep;
    sum += weight;
  }
  if (sum != 0.0) {
    for (uint32_t t = 0; t < table.taps; ++t) weights[t] /= sum;
  }
}

// The four cubic taps floor(c) - 1 .. floor(c) + 2; any further taps weigh nothing.
void FillCubicTaps(const ContributionTable& table, double centre, uint32_t* indices, double* weights) {
  const double base = std::floor(centre);
  const double f = centre - base;
  const double f2 = f * f;
  const double f3 = f2 * f;
  const double cubic[4] = {
      f2 - f3 / 2 - f / 2,
      1.5 * f3 - 2.5 * f2 + 1,
      f / 2 + 2 * f2 - 1.5 * f3,
      f3 / 2 - f2 / 2,
  };
  for (uint32_t t = 0; t < table.taps; ++t) {
    weights[t] = t < 4 ? cubic[t] : 0.0;
    indices[t] = ClampPosition(base - 1 + t, table.sourceSize) * table.elementStep;
  }
}

}  // namespace

bool BuildContributionTable(ContributionTable* table, uint32_t sourceSize, uint32_t outputSize) {
  FreeContributionTable(table);
  if (sourceSize == 0 || outputSize == 0) return false;
  table->sourceSize = sourceSize;
  table->outputSize = outputSize;
  table->elementStep = 1;
  // One output has no spacing to derive a scale from: it sits on the centre sample.
  const bool single = outputSize == 1;
  table->scale = single ? 0.0 : (sourceSize - 1.0) / (outputSize - 1.0);
  if (table->scale > 1.0) {
    table->kernel = kKernelSinc;
    table->support = 2.0 * table->scale;
  } else {
    table->kernel = kKernelCubic;
    table->support = 2.0;
  }
  table->taps = static_cast<uint32_t>(2.0 * table->support);
  const uint64_t entries = static_cast<uint64_t>(outputSize) * table->taps;
  try {
    if (entries > table->weights.max_size()) throw std::bad_alloc();
    table->indices.resize(static_cast<size_t>(entries));
    table->weights.resize(static_cast<size_t>(entries));
  } catch (const std::bad_alloc&) {
    FreeContributionTable(table);
    return false;
  }
  for (uint32_t i = 0; i < outputSize; ++i) {
    const double centre = single ? TruncRound((sourceSize - 1) / 2.0) : i * table->scale;
    uint32_t* indices = &table->indices[static_cast<size_t>(i) * table->taps];
    double* weights = &table->weights[static_cast<size_t>(i) * table->taps];
    if (table->kernel == kKernelSinc) {
      FillSincTaps(*table, centre, indices, weights);
    } else {
      FillCubicTaps(*table, centre, indices, weights);
    }
  }
  return true;
}

void FreeContributionTable(ContributionTable* table) {
  *table = ContributionTable();
}
