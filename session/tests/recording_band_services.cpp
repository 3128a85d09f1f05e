#include "session/tests/recording_band_services.h"

#include "state/data_source_state.h"

std::vector<std::string> gRecordedCalls;

namespace {

// Sharpening stand-in: the delay of the real filters, k rows held back at the
// first read and given back at the last.
int16_t DelayingSharpen(const char* name, int32_t k, int32_t rows) {
  gRecordedCalls.push_back(std::string(name) + "(" + std::to_string(rows) + ")");
  if (gBand.firstBand) {
    gBand.firstBand = 0;
    return static_cast<int16_t>(rows > k ? rows - k : 0);
  }
  return static_cast<int16_t>(gBand.passByte ? rows + k : rows);
}

std::string Region(const char* name, bool region) { return region ? std::string(name) + "+region" : name; }

const BandServices kRecordingServices = {
    [] { return true; },
    [] { return true; },
    [] { return true; },
    [] { return true; },
    [] { return true; },
    [](uint8_t*, int32_t, int32_t, int32_t, int32_t, bool region) {
      gRecordedCalls.push_back(Region("selective8", region));
    },
    [](uint16_t*, int32_t, int32_t, int32_t, int32_t, bool region) {
      gRecordedCalls.push_back(Region("selective16", region));
    },
    [](uint8_t*, int32_t, int32_t, int32_t, int32_t, bool region) { gRecordedCalls.push_back(Region("matrix8", region)); },
    [](uint16_t*, int32_t, int32_t, int32_t, int32_t, bool region) { gRecordedCalls.push_back(Region("matrix16", region)); },
    [](uint8_t*, int32_t k, uint32_t, int32_t rows) { return DelayingSharpen("sharpenA", k, rows); },
    [](uint8_t*, int32_t k, uint32_t, int32_t rows) { return DelayingSharpen("sharpenB", k, rows); },
    [](uint8_t*, int32_t, void*) {
      gRecordedCalls.push_back("translate8");
      return true;
    },
    [](uint8_t*, int32_t, int32_t) { gRecordedCalls.push_back("cube8"); },
    [](const uint8_t*, uint8_t*, int32_t, bool) { gRecordedCalls.push_back("output8"); },
    [](const uint16_t*, uint16_t*, int32_t, bool) { gRecordedCalls.push_back("output16"); },
    [](const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*, int32_t) {
      gRecordedCalls.push_back("separate8");
    },
    [](const uint16_t*, uint16_t*, int32_t) { gRecordedCalls.push_back("separateLab16"); },
    [](const uint16_t*, uint8_t*, int32_t) { gRecordedCalls.push_back("separateLab16To8"); },
    [](uint8_t*, int32_t, int32_t, bool signedAB) { gRecordedCalls.push_back(signedAB ? "lab8 signed" : "lab8"); },
    [](const uint8_t*, uint16_t*, int32_t, int32_t, int32_t, int32_t, int32_t) { gRecordedCalls.push_back("rgb8ToLab16"); },
    [](const uint16_t*, uint16_t*, int32_t, int32_t, int32_t, int32_t, int32_t, bool) {
      gRecordedCalls.push_back("rgb16ToLab16");
    },
};

}  // namespace

const BandServices& RecordingBandServices() { return kRecordingServices; }
