// The texts and markers kept from the last PNG or JPEG header read on this
// thread, handed out as global-memory copies; and the JPEG writer's sampling.
#include <cstring>
#include <string>
#include <vector>

#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/platform.h"
#include "imagelib/result_block.h"

using namespace imagelib;

namespace {

// A zero-terminated copy, or null.
char* CopyText(const std::string& text) {
  auto* copy = static_cast<char*>(AllocateBlock(text.size() + 1));
  if (copy) std::memcpy(copy, text.data(), text.size());
  return copy;
}

uint8_t* CopyBytes(const std::vector<uint8_t>& bytes) {
  auto* copy = static_cast<uint8_t*>(AllocateBlock(bytes.size()));
  if (copy) std::memcpy(copy, bytes.data(), bytes.size());
  return copy;
}

template <typename List>
bool InRange(const List& list, int index) {
  return index >= 0 && static_cast<size_t>(index) < list.size();
}

// Factors 2 and 3 stay; smaller ones become 1 and larger ones (as unsigned
// numbers, so negative ones too) become 4.
int ClampSamplingFactor(int factor) {
  unsigned value = static_cast<unsigned>(factor);
  if (value < 2) return 1;
  if (value > 3) return 4;
  return static_cast<int>(value);
}

}  // namespace

extern "C" int CountPngTexts(void) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  context->last_error = kImageOk;
  return static_cast<int>(context->png.kept_texts.size());
}

extern "C" int GetPngText(int index, char** keyword, char** text, int* compressed) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!keyword || !text || !compressed) return Refuse(*context, kImageBadArgument);
  const std::vector<PngTextRecord>& texts = context->png.kept_texts;
  if (!InRange(texts, index)) return Refuse(*context, kImageBadArgument);
  const PngTextRecord& record = texts[static_cast<size_t>(index)];
  char* text_copy = CopyText(record.text);
  if (!text_copy) return Refuse(*context, kImageNoMemory);
  char* keyword_copy = CopyText(record.keyword);
  if (!keyword_copy) {
    GlobalBlockFree(text_copy);
    return Refuse(*context, kImageNoMemory);
  }
  *keyword = keyword_copy;
  *text = text_copy;
  *compressed = record.compressed;
  context->last_error = kImageOk;
  return 1;
}

extern "C" int CountJpegComments(void) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  context->last_error = kImageOk;
  return static_cast<int>(context->jpeg.kept_comments.size());
}

extern "C" char* GetJpegComment(int index) {
  LibraryContext* context = GetContext();
  if (!context) return nullptr;
  const std::vector<JpegMarkerRecord>& comments = context->jpeg.kept_comments;
  if (!InRange(comments, index)) return RefusePointer(*context, kImageBadArgument);
  char* copy = CopyText(comments[static_cast<size_t>(index)].text);
  context->last_error = copy ? kImageOk : kImageNoMemory;
  return copy;
}

extern "C" int CountJpegMarkers(void) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  context->last_error = kImageOk;
  return static_cast<int>(context->jpeg.kept_markers.size());
}

extern "C" int GetJpegMarker(int index, uint8_t** data, int* length, int* marker) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!data || !length || !marker) return Refuse(*context, kImageBadArgument);
  const std::vector<JpegMarkerRecord>& markers = context->jpeg.kept_markers;
  if (!InRange(markers, index)) return Refuse(*context, kImageBadArgument);
  const JpegMarkerRecord& record = markers[static_cast<size_t>(index)];
  uint8_t* copy = CopyBytes(record.data);
  if (!copy) return Refuse(*context, kImageNoMemory);
  *data = copy;
  *length = static_cast<int>(record.data.size());
  *marker = record.marker;
  context->last_error = kImageOk;
  return 1;
}

extern "C" void SetJpegSampling(const int* horizontal, const int* vertical) {
  LibraryContext* context = GetContext();
  if (!context) return;
  JpegSettings& jpeg = context->jpeg;
  if (horizontal && vertical) {
    for (int i = 0; i < kJpegSamplingSlots; ++i) {
      jpeg.horizontal_sampling[i] = ClampSamplingFactor(horizontal[i]);
      jpeg.vertical_sampling[i] = ClampSamplingFactor(vertical[i]);
    }
    jpeg.sampling_enabled = 1;
  } else {
    jpeg.sampling_enabled = 0;
  }
  context->last_error = kImageOk;
}
