// The popup menu prompt as the platform shows it: a real menu at the cursor,
// owned by the page, with the items, check marks and separator asked for;
// the person's keys choose an item and its command comes back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/dialogs/prompts.h"

namespace {

struct Seen {
  std::vector<std::string> texts;
  std::vector<UINT> states;
};
Seen gSeen;
HWND gOwner = nullptr;
HHOOK gHook = nullptr;
bool gKeysSent = false;
bool gGaveUp = false;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITMENUPOPUP) {
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[256] = "";
      GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
      gSeen.texts.push_back(text);
      gSeen.states.push_back(GetMenuState(menu, i, MF_BYPOSITION));
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The menu's modal loop is running: the person presses Down twice and Return.
LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_MENU && message->message == WM_TIMER && message->hwnd == gOwner) {
    // The keys did not reach the menu: end it rather than wait for ever.
    gGaveUp = true;
    EndMenu();
  } else if (code == MSGF_MENU && !gKeysSent) {
    gKeysSent = true;
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
      PostMessageA(gOwner, WM_KEYDOWN, key, 0);
      PostMessageA(gOwner, WM_KEYUP, key, 0xC0000000);
    }
  }
  return CallNextHookEx(gHook, code, wParam, lParam);
}

TEST(PopupMenuPrompt, TheChosenItemsCommandComesBack) {
  WNDCLASSA type = {};
  type.lpfnWndProc = OwnerProc;
  type.hInstance = GetModuleHandleA(nullptr);
  type.lpszClassName = "PresetMenuOwner";
  ASSERT_NE(RegisterClassA(&type), 0);
  gOwner = CreateWindowExA(WS_EX_TOPMOST, "PresetMenuOwner", "", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr,
                           nullptr, type.hInstance, nullptr);
  ASSERT_NE(gOwner, nullptr);
  SetForegroundWindow(gOwner);
  gHook = SetWindowsHookExA(WH_MSGFILTER, MenuFilter, nullptr, GetCurrentThreadId());
  ASSERT_NE(gHook, nullptr);

  PromptRequest request;
  request.kind = PromptKind::kPopupMenu;
  request.owner = gOwner;
  PromptMenuItem first, second, separator, save;
  first.text = "Gr\xfcn st\xe4rker";
  first.command = 11002;
  second.text = "Gr\xfcn_";
  second.command = 11001;
  second.checked = true;
  separator.separator = true;
  save.text = "Speichern...";
  save.command = 11999;
  request.menu = {first, second, separator, save};
  SetTimer(gOwner, 1, 10000, nullptr);
  const PromptAnswer answer = ShowPlatformPrompt(request);
  KillTimer(gOwner, 1);
  UnhookWindowsHookEx(gHook);
  DestroyWindow(gOwner);

  if (!gKeysSent) GTEST_SKIP() << "the menu's modal loop never ran";
  EXPECT_FALSE(gGaveUp) << "the menu did not take the keys";
  EXPECT_EQ(answer.result, 11001);
  ASSERT_EQ(gSeen.texts.size(), 4u);
  EXPECT_EQ(gSeen.texts[0], "Gr\xfcn st\xe4rker");
  EXPECT_EQ(gSeen.texts[3], "Speichern...");
  EXPECT_FALSE(gSeen.states[0] & MF_CHECKED);
  EXPECT_TRUE(gSeen.states[1] & MF_CHECKED);
  EXPECT_TRUE(gSeen.states[2] & MF_SEPARATOR);
}

}  // namespace
