// Editing a job entry in the main window: what the window held is set aside
// while the entry is its only frame, and comes back afterwards.
#include <cstdio>
#include <cstring>

#include "color/matrix12_presets.h"
#include "color/selective_color.h"
#include "foundation/file_io.h"
#include "foundation/paths.h"
#include "frames/frame_list.h"
#include "output/job_cache.h"
#include "output/job_hooks.h"
#include "output/job_list.h"
#include "session/frame_geometry.h"
#include "session/preview_files.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"

namespace {

constexpr int kTemporaryNameTries = 10000;

// A file name in the temporary folder that no file has yet.
bool NewTemporaryName(char* path, size_t size) {
  char folder[kPathSize];
  if (!GetTemporaryFolder(folder, sizeof folder)) return false;
  for (int i = 0; i < kTemporaryNameTries; ++i) {
    std::snprintf(path, size, "%s~QB%04X.tmp", folder, i);
    if (!FileExists(path)) return true;
  }
  return false;
}

// Without a rename among the file services, a move is a copy and a delete.
bool MoveFileContents(const char* from, const char* to) {
  DeleteFileAt(to);
  if (!CopyFileContents(from, to)) {
    DeleteFileAt(to);
    return false;
  }
  return DeleteFileAt(from);
}

// The window's colour correction states started afresh.
void ResetColourStates() {
  FreeSelectiveColorLuts();
  FreeColorMatrix12State();
  ResetSelectiveColor();
  InitColorMatrix12State();
}

// The preview of the window's image is given up for the frames that come next.
void ReleasePreview() {
  ComputeScanAreaInches();
  FreePreviewBuffers();
}

}  // namespace

void JobList::SetAsideCurrentPreviews(bool back) {
  const struct {
    PreviewFileKind kind;
    char* saved;
  } files[] = {{kPreviewFile, savedPreviewPath_}, {kZoomFile, savedZoomPath_}};
  for (const auto& file : files) {
    char current[kPathSize];
    if (!PreviewFilePath(file.kind, current)) continue;
    if (back) {
      if (file.saved[0]) MoveFileContents(file.saved, current);
      file.saved[0] = '\0';
      continue;
    }
    file.saved[0] = '\0';
    char aside[sizeof savedPreviewPath_];
    if (FileExists(current) && NewTemporaryName(aside, sizeof aside) && MoveFileContents(current, aside))
      std::strcpy(file.saved, aside);
  }
}

void JobList::SaveEditorState() {
  editorSnapshot_ = TakeColorSettingsSnapshot();
  editorOrientation_ = PreviewOrientation{1, PreviewMirrorH(), PreviewMirrorV(),
                                          static_cast<uint16_t>(PreviewQuarterTurns())};
  SetAsideCurrentPreviews(false);
}

void JobList::LoadEntryIntoEditor(int16_t index) {
  JobItem* item = ItemAt(index);
  if (!item) return;
  char folder[kPathSize] = {};
  if (!JobCacheFolder(*this, folder)) folder[0] = '\0';
  item->InstallPreview(folder);
  ReleasePreview();
  // The window's own frames stay in the snapshot; the entry's frame stands alone.
  gCurrentFrame = nullptr;
  JobWindow().relayoutPreview();
  ResetColourStates();
  JobWindow().resetEditor();
  DeleteAllFrames();
  item->LoadIntoEditor();
  JobWindow().refreshEditor();
}

void JobList::RestoreEditorState() {
  const ColorSettingsSnapshot& s = editorSnapshot_;
  gLightSourceFlag = s.lightSource;
  gOptionUnitFlag = s.positionMode;
  gOptionSlot = s.positionNumber;
  SetPreviewOrientation(editorOrientation_.mirrorH, editorOrientation_.mirrorV, editorOrientation_.quarterTurns);
  SetAsideCurrentPreviews(true);
  ReleasePreview();
  JobWindow().relayoutPreview();
  DeleteAllFrames();
  ResetColourStates();
  JobWindow().resetEditor();
  PutBackSourceSettings(s);
  ApplySettingsSnapshot(s);
  gCurrentFrame = s.currentFrame;
  JobWindow().refreshEditor();
}
