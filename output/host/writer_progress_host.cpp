#include "output/writer_progress.h"

// No progress window in the platform-neutral build.
void OpenWriterProgress(bool, int32_t, int32_t) {}
void SetWriterProgressText(const char*) {}
void SetWriterProgressSubtitle(int32_t) {}
bool UpdateWriterProgress(int32_t, int32_t, int32_t, int32_t) { return false; }
void CloseWriterProgress() {}
bool IsWriterCancelled() { return false; }
