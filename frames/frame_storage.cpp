#include "frames/frame_storage.h"

#include <algorithm>
#include <vector>

#include "foundation/record_store.h"
#include "frames/frame_limits.h"
#include "frames/frame_list.h"
#include "state/data_source_state.h"

namespace {

// The ids of the type's records, ascending: a gap in the ids (a record
// deleted by hand) must not hide the records behind it.
std::vector<int32_t> IdsInOrder(FileHandle store, RecordType type) {
  std::vector<int32_t> ids;
  const int count = RecordStoreCount(store, type);
  for (int index = 1; index <= count; ++index) {
    int32_t id = 0;
    if (RecordStoreIdAtIndex(store, type, index, &id)) ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

bool ReadStoredFrame(FileHandle store, RecordType type, int32_t id, FrameRecord* frame) {
  uint32_t size = 0;
  return RecordStoreSize(store, type, id, &size) && size == kFrameRecordSize &&
         RecordStoreRead(store, type, id, frame, kFrameRecordSize) && frame->version == kFrameRecordVersion;
}

bool AllZero(const float* values, int count) {
  for (int i = 0; i < count; ++i)
    if (values[i] != 0.0f) return false;
  return true;
}

void AppendCopy(const FrameRecord& frame) {
  if (FrameListNode* node = NewFrameNode(frame)) AppendFrameNode(node);
}

void LimitToScanArea(FrameRecord* frame) {
  LimitFrameRect(&frame->originX, &frame->originY, &frame->width, &frame->height, kNoFrameHandle);
}

// The repairs of a record read from the store: neutral negative limits when
// all are 0, and output scales of 0 taken from the old 16-bit values.
void RepairStoredFrame(FrameRecord* frame) {
  if (AllZero(frame->negativeLimits, 8)) {
    for (int pair = 0; pair < 4; ++pair) {
      frame->negativeLimits[2 * pair] = 0.0f;
      frame->negativeLimits[2 * pair + 1] = 1.0f;
    }
  }
  if (frame->outputScaleX == 0.0f) frame->outputScaleX = frame->oldScalePercentX;
  if (frame->outputScaleY == 0.0f) frame->outputScaleY = frame->oldScalePercentY;
}

}  // namespace

OriginalKind CurrentOriginalKind() {
  // The option-unit flag is set only while the device has its holder.
  return OriginalKind{gOptionUnitFlag != 0, gOptionSlot, gLightSourceFlag != 0};
}

RecordType CurrentFrameListType() { return FrameSetRecordType(false, CurrentOriginalKind()); }
RecordType CurrentFrameSetType() { return FrameSetRecordType(true, CurrentOriginalKind()); }

void LoadFrameList() {
  DeleteAllFrames();
  const RecordType type = CurrentFrameListType();
  const std::vector<int32_t> ids = IdsInOrder(gDeviceStore, type);
  for (int32_t id : ids) {
    FrameRecord frame;
    if (!ReadStoredFrame(gDeviceStore, type, id, &frame)) continue;
    RepairStoredFrame(&frame);
    AppendCopy(frame);
  }
  if (!FrameListHead()) {
    AppendCopy(gScanFrame);
    if (ids.empty()) {
      if (gCurrentFrame) LimitToScanArea(gCurrentFrame);
      return;
    }
  }
  FixUpLoadedFrames();
  CheckFrameNames();
}

bool SaveFrameList() {
  const RecordType type = CurrentFrameListType();
  bool written = RecordStoreDeleteRange(gDeviceStore, type, 0, 0);
  int32_t id = kFirstFrameRecordId;
  for (FrameListNode* node = FrameListHead(); node; node = node->next, ++id)
    written = RecordStoreAdd(gDeviceStore, type, id, &node->frame, kFrameRecordSize, kFrameRecordName) && written;
  return written;
}

void FixUpLoadedFrames() {
  for (FrameListNode* node = FrameListHead(); node; node = node->next) {
    FrameRecord& frame = node->frame;
    LimitToScanArea(&frame);
    uint32_t size = 0;
    if (frame.filmProfileRef != 0 && !RecordStoreSize(gAppStore, kFilmProfileRecordType, frame.filmProfileRef, &size)) {
      frame.filmProfileRef = 0;
      frame.filmProfileValue = 0.0f;
    }
  }
}
