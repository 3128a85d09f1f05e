#include "photoapp/window/file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {
FileDialogResponder* gResponder = nullptr;
}

void InstallFileDialogResponder(FileDialogResponder* responder) { gResponder = responder; }

FileDialog::FileDialog(bool open, const std::string& default_extension, const std::string& file_name, DWORD flags,
                       const std::string& filter, HWND owner)
    : request_{open, "", filter, default_extension, file_name, flags}, owner_(owner) {}

INT_PTR FileDialog::DoModal() {
  path_.clear();
  if (gResponder) return gResponder->Answer(request_, &path_) ? IDOK : IDCANCEL;
  // The system wants the filter's separators as zero characters.
  std::string filter = request_.filter;
  std::replace(filter.begin(), filter.end(), '|', '\0');
  std::vector<char> file(MAX_PATH * 4, '\0');
  request_.file_name.copy(file.data(), file.size() - 1);
  OPENFILENAMEA chooser = {};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = owner_;
  chooser.lpstrFilter = filter.c_str();
  chooser.lpstrFile = file.data();
  chooser.nMaxFile = static_cast<DWORD>(file.size());
  chooser.lpstrTitle = request_.title.empty() ? nullptr : request_.title.c_str();
  chooser.lpstrDefExt = request_.default_extension.empty() ? nullptr : request_.default_extension.c_str();
  chooser.Flags = request_.flags | OFN_EXPLORER;
  const BOOL chosen = request_.open ? GetOpenFileNameA(&chooser) : GetSaveFileNameA(&chooser);
  if (!chosen) return IDCANCEL;
  path_ = file.data();
  return IDOK;
}
