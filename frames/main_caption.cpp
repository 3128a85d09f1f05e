#include "frames/main_caption.h"

#include "foundation/log/module_string.h"

uint32_t SeparationChannelString(uint32_t channel) {
  if (channel == kCompositeSeparationChannel) return kCompositeChannelString;
  return channel <= 3 ? kCyanChannelString + channel : 0;
}

std::string ComposeMainCaption(const CaptionParts& parts) {
  std::string caption = ModuleString(kProductNameString);
  if (!parts.version.empty()) caption += " v" + parts.version;
  if (parts.editingJobEntry) caption += " " + ModuleString(kJobEditorString);
  caption += " " + parts.deviceName;
  if (parts.outputConversion) {
    const uint32_t channel = SeparationChannelString(parts.separationChannel);
    if (channel) caption += " (" + ModuleString(channel) + ")";
  }
  return caption;
}
