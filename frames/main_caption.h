// The caption of the main dialog (and of the palette): the product name, the
// module's version, the job editor while a job entry is edited, the device,
// and the shown separation channel while the output is converted.
#pragma once

#include <cstdint>
#include <string>

enum : uint32_t {
  kProductNameString = 300,      // "Quillbrook"
  kJobEditorString = 1609,       // "Job-Editor"
  kCompositeChannelString = 3018,  // "CMYK"
  kCyanChannelString = 3024,     // "Cyan", then "Magenta", "Gelb", "Schwarz"
};
// The channel value of the composite of all separations.
constexpr uint32_t kCompositeSeparationChannel = 0xFFFF;

struct CaptionParts {
  std::string version;       // the module's file version, may be empty
  bool editingJobEntry = false;
  std::string deviceName;
  bool outputConversion = false;
  uint32_t separationChannel = kCompositeSeparationChannel;
};

// The string of a separation channel's name; 0 for values without one.
uint32_t SeparationChannelString(uint32_t channel);
std::string ComposeMainCaption(const CaptionParts& parts);
