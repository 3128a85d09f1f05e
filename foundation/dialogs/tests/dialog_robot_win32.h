// Plays the person at a real dialog under Wine: a thread waits for the
// dialog to appear, then runs the test's actions on it while the test's own
// thread sits in the dialog's modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

class DialogRobot {
 public:
  // Waits (up to 10 s) for a top-level dialog of this process whose caption
  // contains the text (any dialog for an empty text), then runs the actions.
  DialogRobot(std::string caption, std::function<void(HWND dialog)> actions)
      : thread_([caption, actions] {
          HWND dialog = nullptr;
          for (int tries = 0; tries < 1000 && !dialog; ++tries) {
            dialog = FindDialog(caption);
            if (!dialog) Sleep(10);
          }
          if (dialog) {
            Sleep(200);  // let the dialog finish its initialisation
            actions(dialog);
          }
        }) {}
  ~DialogRobot() {
    if (thread_.joinable()) thread_.join();
  }
  DialogRobot(const DialogRobot&) = delete;
  DialogRobot& operator=(const DialogRobot&) = delete;

  // The descendant window with the control id, or null.
  static HWND FindDescendant(HWND parent, int id) {
    IdSearch search{id, nullptr};
    EnumChildWindows(parent, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // The first descendant window of the class, or null.
  static HWND FindDescendantOfClass(HWND parent, const char* className) {
    ClassSearch search{className, nullptr};
    EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  static std::string TextOf(HWND window) {
    char text[512] = "";
    if (window) SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }

  // Waits up to timeoutMs until the window's text is the expected one.
  static bool WaitForText(HWND window, const std::string& expected, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
      if (TextOf(window) == expected) return true;
      Sleep(20);
    }
    return false;
  }

  // Types the characters into the window as keystrokes would.
  static void Type(HWND window, const std::string& text) {
    for (char c : text) SendMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
  }

  static void Click(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  }

 private:
  struct IdSearch {
    int id;
    HWND found;
  };
  struct ClassSearch {
    const char* className;
    HWND found;
  };
  struct CaptionSearch {
    const std::string* caption;
    HWND found;
  };

  static BOOL CALLBACK MatchId(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<IdSearch*>(data);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
  }

  static BOOL CALLBACK MatchClass(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ClassSearch*>(data);
    char name[64];
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, search->className) != 0) return TRUE;
    search->found = child;
    return FALSE;
  }

  static BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<CaptionSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64];
    GetClassNameA(window, name, sizeof name);
    if (process != GetCurrentProcessId() || lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    if (TextOf(window).find(*search->caption) == std::string::npos) return TRUE;
    search->found = window;
    return FALSE;
  }

  static HWND FindDialog(const std::string& caption) {
    CaptionSearch search{&caption, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  std::thread thread_;
};
