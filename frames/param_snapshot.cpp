#include "frames/param_snapshot.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

enum SnapshotParts { kFrameAndTone = 0, kChannelFlag = 1, kActivePoints = 2 };

ParamSnapshotSources gSources = {nullptr, nullptr, nullptr, nullptr};
FrameRecord gSavedFrameRecord;
ToneBlock gSavedToneWorkingCopy;
uint8_t gSavedChannelFlag;
uint8_t gSavedActivePoints[kActivePointCount];

FrameStateArea* gFrameStateArea = nullptr;
FrameStateArea gSavedFrameState;

FrameRecord* CurrentFrame() { return gSources.currentFrame ? *gSources.currentFrame : nullptr; }

void SaveParts(int parts) {
  if (FrameRecord* frame = CurrentFrame()) gSavedFrameRecord = *frame;
  if (gSources.toneWorkingCopy) gSavedToneWorkingCopy = *gSources.toneWorkingCopy;
  if ((parts & kChannelFlag) && gSources.channelFlag) gSavedChannelFlag = *gSources.channelFlag;
  if ((parts & kActivePoints) && gSources.activePoints) {
    std::memcpy(gSavedActivePoints, gSources.activePoints, kActivePointCount);
  }
}

void SwapParts(int parts) {
  if (FrameRecord* frame = CurrentFrame()) std::swap(gSavedFrameRecord, *frame);
  if (gSources.toneWorkingCopy) std::swap(gSavedToneWorkingCopy, *gSources.toneWorkingCopy);
  if ((parts & kChannelFlag) && gSources.channelFlag) std::swap(gSavedChannelFlag, *gSources.channelFlag);
  if ((parts & kActivePoints) && gSources.activePoints) {
    std::swap_ranges(gSavedActivePoints, gSavedActivePoints + kActivePointCount, gSources.activePoints);
  }
}

}  // namespace

void BindParamSnapshot(const ParamSnapshotSources& sources) { gSources = sources; }

void SaveParamSnapshot() { SaveParts(kChannelFlag); }
void SwapParamSnapshot() { SwapParts(kChannelFlag); }
void SaveParamSnapshotFull() { SaveParts(kChannelFlag | kActivePoints); }
void SwapParamSnapshotFull() { SwapParts(kChannelFlag | kActivePoints); }
void SaveParamSnapshotNoFlag() { SaveParts(kFrameAndTone); }
void SwapParamSnapshotNoFlag() { SwapParts(kFrameAndTone); }

void BindFrameStateSnapshot(FrameStateArea* area) { gFrameStateArea = area; }

void SaveFrameStateSnapshot() {
  if (gFrameStateArea) gSavedFrameState = *gFrameStateArea;
}

void SwapFrameStateSnapshot() {
  if (gFrameStateArea) std::swap(gSavedFrameState, *gFrameStateArea);
}
