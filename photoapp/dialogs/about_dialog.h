// The About box: the program's name and version, its maker and the maker's
// web address as a link.
#pragma once

#include "photoapp/controls/hyperlink.h"
#include "photoapp/window/dialog.h"

class AboutDialog : public Dialog {
 public:
  explicit AboutDialog(HWND parent = nullptr);

 protected:
  void DoDataExchange(DataExchange& exchange) override;

 private:
  CHyperLink link_;
};
