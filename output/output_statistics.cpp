// The output statistics report as the user starts it: the file is asked
// for, written in one pass and closed.
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/dialogs/user_prompts.h"
#include "foundation/file_io.h"
#include "foundation/paths.h"
#include "foundation/settings_folders.h"
#include "frames/frame_list.h"
#include "output/output_report.h"
#include "state/data_source_state.h"

namespace {

void InitialReportFolder(char* folder) {
  if (GetTemporaryFolder(folder, kPathSize) && folder[0]) return;
  if (GetModuleFolder(folder)) return;
  std::strcpy(folder, "C:\\");
}

// The frame list's node that holds the current frame; the list's head when none does.
const FrameListNode* CurrentFrameNode() {
  for (const FrameListNode* node = FrameListHead(); node; node = node->next)
    if (&node->frame == gCurrentFrame) return node;
  return FrameListHead();
}

}  // namespace

void WriteOutputStatistics(WindowHandle owner) {
  char folder[kPathSize];
  InitialReportFolder(folder);
  // Filter: description, NUL, pattern, NUL, NUL.
  std::string filter = ReportString(kReportFilterNameString).c_str();
  filter += '\0';
  filter += ReportString(kReportPatternString).c_str();
  filter += '\0';
  filter += '\0';
  char path[kPathSize] = {};
  std::snprintf(path, sizeof path, "%s", ReportString(kReportFileNameString).c_str());
  uint16_t fileNameOffset = 0;
  if (!AskSaveFile(owner, ReportString(kReportTitleString).c_str(), filter.c_str(), folder, path, sizeof path,
                   &fileNameOffset, "txt"))
    return;

  DeleteFileAt(path);
  ReportFile file;
  file.handle = OpenFileReadWrite(path);
  if (!file.handle) return;
  bool written = WriteOptionsReport(&file, 0);
  long number = 1;
  for (const FrameListNode* node = CurrentFrameNode(); written && node; node = node->next)
    written = WriteFrameReport(&file, node->frame, number++, 0);
  CloseFile(file.handle);
}
