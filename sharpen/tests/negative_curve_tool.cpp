// Runs the film curves for the numerical check against the scipy model: each
// line of the job file is one computation over a film point list file (the
// store's bytes) handed over as the negative tool's profile.
//   curves list exposure x0 x1 y0 y1 channel gamma entries out
//   table8 list exposure low high channel currentGamma in out
//   table16 list exposure low high channel currentGamma in out
// Tables are read and written as raw little-endian entries; the entries of a
// curves run start as 0xFFFF so that the check sees which ones were written.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sharpen/negative_curves.h"

namespace {

double gGamma = 0;
double ScriptedGamma() { return gGamma; }

template <typename T>
bool ReadFile(const char* path, std::vector<T>* data) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  std::vector<uint8_t> bytes;
  uint8_t buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  std::fclose(file);
  data->resize((bytes.size() + sizeof(T) - 1) / sizeof(T));
  if (!bytes.empty()) std::memcpy(data->data(), bytes.data(), bytes.size());
  return true;
}

template <typename T>
bool WriteFile(const char* path, const std::vector<T>& data) {
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const size_t put = std::fwrite(data.data(), sizeof(T), data.size(), file);
  return std::fclose(file) == 0 && put == data.size();
}

FrameRecord LimitedFrame(int16_t channel, int low, int high) {
  FrameRecord frame = {};
  frame.tone[channel].inputLow = static_cast<int16_t>(low);
  frame.tone[channel].inputHigh = static_cast<int16_t>(high);
  return frame;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s jobfile\n", argv[0]);
    return 2;
  }
  FILE* jobs = std::fopen(argv[1], "r");
  if (!jobs) return 2;
  gNegativeCurrentGamma = ScriptedGamma;
  char kind[16], listPath[256], in[256], out[256];
  std::vector<uint32_t> list;
  while (std::fscanf(jobs, "%15s %255s %f", kind, listPath, &gNegativeToolExposure) == 3) {
    if (!ReadFile(listPath, &list)) return 2;
    gNegativeToolProfile = reinterpret_cast<FilmPointList*>(list.data());
    int channel, low, high;
    if (std::strcmp(kind, "curves") == 0) {
      double x0, x1, y0, y1, gamma;
      int entries;
      if (std::fscanf(jobs, "%lf %lf %lf %lf %d %lf %d %255s", &x0, &x1, &y0, &y1, &channel, &gamma, &entries, out) != 8)
        return 2;
      std::vector<uint16_t> table(entries, 0xFFFF);
      ComputeNegativeCurves(table.data(), x0, x1, y0, y1, static_cast<int16_t>(channel), nullptr, gamma);
      if (!WriteFile(out, table)) return 2;
    } else if (std::strcmp(kind, "table8") == 0) {
      if (std::fscanf(jobs, "%d %d %d %lf %255s %255s", &low, &high, &channel, &gGamma, in, out) != 6) return 2;
      std::vector<uint8_t> table;
      FrameRecord frame = LimitedFrame(static_cast<int16_t>(channel), low, high);
      if (!ReadFile(in, &table)) return 2;
      BuildNegativeTable8(table.data(), &frame, static_cast<int32_t>(table.size()), static_cast<int16_t>(channel));
      if (!WriteFile(out, table)) return 2;
    } else if (std::strcmp(kind, "table16") == 0) {
      if (std::fscanf(jobs, "%d %d %d %lf %255s %255s", &low, &high, &channel, &gGamma, in, out) != 6) return 2;
      std::vector<uint16_t> table;
      FrameRecord frame = LimitedFrame(static_cast<int16_t>(channel), low, high);
      if (!ReadFile(in, &table)) return 2;
      BuildNegativeTable16(table.data(), &frame, static_cast<int32_t>(table.size()), static_cast<int16_t>(channel));
      if (!WriteFile(out, table)) return 2;
    } else {
      return 2;
    }
    gNegativeToolProfile = nullptr;
  }
  std::fclose(jobs);
  return 0;
}
