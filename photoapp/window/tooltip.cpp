#include "photoapp/window/tooltip.h"

#include <commctrl.h>

ToolTip::~ToolTip() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool ToolTip::Create(HWND parent) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  hwnd_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  return hwnd_ != nullptr;
}

bool ToolTip::AddTool(HWND window, const std::string& text, const RECT& rect, UINT id) {
  if (!hwnd_) return false;
  // The size of the record that every version of the control reads.
  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.hwnd = window;
  tool.uId = id;
  tool.rect = rect;
  tool.lpszText = const_cast<char*>(text.c_str());
  return SendMessageA(hwnd_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

void ToolTip::RelayEvent(MSG* message) {
  if (hwnd_) SendMessageA(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));
}
