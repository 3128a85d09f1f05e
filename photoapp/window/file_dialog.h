// The system's file choosers for opening and saving, set up the way the
// photo program asks: a filter of "name|patterns|" pairs ending in "||", an
// optional default extension and file name, option flags and a title. Each
// goes to the installed responder when there is one (a test plays the
// person), else to the system's chooser.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

struct FileDialogRequest {
  bool open;
  std::string title;
  std::string filter;
  std::string default_extension;
  std::string file_name;
  DWORD flags;
};

class FileDialogResponder {
 public:
  virtual ~FileDialogResponder() = default;
  // True with the chosen path for OK; false for Cancel.
  virtual bool Answer(const FileDialogRequest& request, std::string* path) = 0;
};

// Null goes back to the system's choosers.
void InstallFileDialogResponder(FileDialogResponder* responder);

class FileDialog {
 public:
  FileDialog(bool open, const std::string& default_extension, const std::string& file_name, DWORD flags,
             const std::string& filter, HWND owner = nullptr);

  void SetTitle(const std::string& title) { request_.title = title; }
  // IDOK or IDCANCEL.
  INT_PTR DoModal();
  const std::string& GetPathName() const { return path_; }

 private:
  FileDialogRequest request_;
  HWND owner_;
  std::string path_;
};
