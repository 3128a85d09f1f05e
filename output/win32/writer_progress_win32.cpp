#include "output/writer_progress.h"

#include "foundation/progress/progress_window.h"
#include "foundation/progress/session_services.h"

void OpenWriterProgress(bool cancelAllowed, int32_t titleId, int32_t subtitleId) {
  ProgressOpen(cancelAllowed, titleId, subtitleId, OwnerWindowForDialogs());
}

void SetWriterProgressText(const char* text) { ProgressSetText(text); }

void SetWriterProgressSubtitle(int32_t subtitleId) { ProgressSetSubtitle(subtitleId); }

bool UpdateWriterProgress(int32_t done, int32_t total, int32_t n, int32_t of) {
  return ProgressUpdate(done, total, n, of);
}

void CloseWriterProgress() {
  if (GetProgressWindow()) ProgressClose();
}

bool IsWriterCancelled() { return IsProgressCancelled(); }
