#include "frames/panel_name.h"

#include <cstring>
#include <string>

#include "frames/frame_list.h"

bool ApplyFrameNameEdit(FrameRecord* frame, const char* typed) {
  const std::string text(typed, strnlen(typed, sizeof frame->name - 1));
  const std::string own = frame->hasName ? std::string(frame->name, strnlen(frame->name, sizeof frame->name)) : "";
  std::string name = text;
  // The frame's own name differs from the text, so a holder found in the whole list is another frame.
  if (name != own && !name.empty() && IsFrameNameUsed(nullptr, name.c_str())) name = own;
  std::memset(frame->name, 0, sizeof frame->name);
  std::memcpy(frame->name, name.data(), name.size());
  frame->hasName = name.empty() ? 0 : 1;
  return name != typed;
}
