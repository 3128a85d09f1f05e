// Runs whole reads through the resampling engine for the numerical check:
// each line of the job file names a mode, a layout, the sizes and two raw
// files (planar lines in, planar rows out, native byte order).
//   <fast|filtered> <grey8|grey16|rgb8|rgb16> srcW srcH outW outH in out
#include <cstdio>
#include <cstring>
#include <vector>

#include "session/resample.h"
#include "session/tests/resample_driver.h"

namespace {

template <typename Sample>
bool ReadFile(const char* path, std::vector<Sample>* data) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  const size_t got = std::fread(data->data(), sizeof(Sample), data->size(), file);
  std::fclose(file);
  return got == data->size();
}

template <typename Sample>
bool WriteFile(const char* path, const std::vector<Sample>& data) {
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const size_t put = std::fwrite(data.data(), sizeof(Sample), data.size(), file);
  return std::fclose(file) == 0 && put == data.size();
}

template <typename Sample>
bool RunJob(ResampleMember<Sample> member, uint32_t planes, const ResampleRead& read, const char* in,
            const char* out) {
  std::vector<Sample> source(static_cast<size_t>(read.sourceRows) * planes * read.sourceWidth);
  if (!ReadFile(in, &source)) return false;
  if (!ResampleSetup(read.sourceWidth, read.outputWidth, read.sourceRows, read.verticalScale, 0, 0, 0, 0, 0, 16)) {
    return false;
  }
  const std::vector<Sample> rows = RunResampleRead(member, read, source);
  ResampleTeardown();
  return rows.size() == static_cast<size_t>(read.rows) * read.outputRowSamples && WriteFile(out, rows);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s jobfile\n", argv[0]);
    return 2;
  }
  FILE* jobs = std::fopen(argv[1], "r");
  if (!jobs) return 2;
  char mode[16], layout[16], in[256], out[256];
  unsigned sw, sh, ow, oh;
  int failures = 0;
  while (std::fscanf(jobs, "%15s %15s %u %u %u %u %255s %255s", mode, layout, &sw, &sh, &ow, &oh, in, out) == 8) {
    gFilteredResampling = std::strcmp(mode, "filtered") == 0 ? 1 : 0;
    const uint32_t planes = std::strncmp(layout, "rgb", 3) == 0 ? 3 : 1;
    const double scale = (sh - 1.0) / (oh - 1.0);
    const ResampleRead read = {sw, sh, ow, scale, planes, planes * ow, 7, 5, oh};
    bool ok = false;
    if (std::strcmp(layout, "grey8") == 0) ok = RunJob<uint8_t>(ResampleGrey8, 1, read, in, out);
    if (std::strcmp(layout, "grey16") == 0) ok = RunJob<uint16_t>(ResampleGrey16, 1, read, in, out);
    if (std::strcmp(layout, "rgb8") == 0) ok = RunJob<uint8_t>(ResampleRgb8, 3, read, in, out);
    if (std::strcmp(layout, "rgb16") == 0) ok = RunJob<uint16_t>(ResampleRgb16, 3, read, in, out);
    if (!ok) {
      std::fprintf(stderr, "job failed: %s %s %ux%u -> %ux%u\n", mode, layout, sw, sh, ow, oh);
      ++failures;
    }
  }
  std::fclose(jobs);
  return failures == 0 ? 0 : 1;
}
