#include <windows.h>

#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "output/job_clipboard.h"
#include "output/job_file.h"
#include "output/job_list.h"

void CopyJobsToClipboard(const JobList& list, const int16_t* rows, int16_t count) {
  char folder[MAX_PATH] = {};
  if (!GetTemporaryFolder(folder, sizeof folder)) return;
  const std::string path = std::string(folder) + kJobClipboardFileName;
  DeleteFileAt(path.c_str());
  FileHandle file = CreateFileForWriting(path.c_str());
  if (!file) return;
  const std::vector<uint8_t> block = MakeJobClipboardBlock(list, rows, count);
  uint64_t size = 0;
  HGLOBAL memory = nullptr;
  if (WriteBytesAt(file, 0, block.data(), static_cast<uint32_t>(block.size())) && GetFileSize(file, &size))
    memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(size));
  void* bytes = memory ? GlobalLock(memory) : nullptr;
  const bool read = bytes && ReadBytesAt(file, 0, bytes, static_cast<uint32_t>(size));
  if (bytes) GlobalUnlock(memory);
  if (read && OpenClipboard(nullptr)) {
    EmptyClipboard();
    if (SetClipboardData(kJobClipboardFormat, memory)) memory = nullptr;  // the clipboard owns it now
    CloseClipboard();
  }
  if (memory) GlobalFree(memory);
  CloseFile(file);
  DeleteFileAt(path.c_str());
}

int16_t PasteJobsFromClipboard(JobList* list, int16_t insertAfter) {
  if (!IsClipboardFormatAvailable(kJobClipboardFormat) || !OpenClipboard(nullptr)) return 0;
  int16_t taken = 0;
  if (HANDLE data = GetClipboardData(kJobClipboardFormat)) {
    if (const void* block = GlobalLock(data)) {
      taken = PasteJobClipboardBlock(list, static_cast<const uint8_t*>(block), static_cast<uint32_t>(GlobalSize(data)),
                                     insertAfter, list->VendorName());
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return taken;
}
