// A static control that shows a web link: coloured by its state, underlined,
// sized to its text, with the address as its tooltip; a click or the space
// bar opens the address in the browser.
#pragma once

#include <string>

#include "photoapp/gdi/gdi_objects.h"
#include "photoapp/window/tooltip.h"
#include "photoapp/window/window.h"

class CHyperLink : public Window {
 public:
  enum LinkFlags {
    kUnderline = 0x01,
    kHoverColour = 0x02,
    kFitToText = 0x04,
    kOpenOnButtonDown = 0x08,
    kTakeFocus = 0x10,
    kNoLinkCursor = 0x20,
    kNoActiveColour = 0x40,
  };
  static constexpr int kDefaultFlags = kUnderline | kFitToText | kTakeFocus;

  // Both take effect when the control is subclassed.
  void SetURL(const std::string& url) { url_ = url; }
  const std::string& GetURL() const { return url_; }
  void SetLinkFlags(int flags) { flags_ = flags; }
  int GetLinkFlags() const { return flags_; }

  const RuntimeClass* GetRuntimeClass() const override;
  bool PreTranslateMessage(MSG* message) override;
  HBRUSH CtlColor(HDC dc, UINT control_type) override;

  void FitWindowToText();
  static void LoadLinkCursor();
  // The default value of the key: 0, or the registry's error.
  static LONG ReadRegistryDefault(HKEY key, const std::string& sub_key, char text[MAX_PATH]);
  // Opens the target through the shell, or else through the command that
  // opens web pages; the result of ShellExecute or WinExec.
  static INT_PTR OpenLinkTarget(const std::string& target, int show);
  void FollowLink();
  void ShowLinkError(int code);

 protected:
  void PreSubclassWindow() override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void OnMouseMove(POINT point);
  void OnLButtonDown();
  void OnLButtonUp();

  bool active_ = false;
  bool hover_ = false;
  bool visited_ = false;
  int flags_ = kDefaultFlags;
  std::string url_;
  Font font_;
  ToolTip tooltip_;
};

// The command that opens web pages, cut before its "%1" (or the quote in
// front of it) and given the target.
std::string LinkCommandLine(const std::string& command, const std::string& target);
// "Can't open link:" with the system's reason for a ShellExecute or WinExec result.
std::string LinkErrorText(int code);
