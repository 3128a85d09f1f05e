// Plays the person at the built PhotoRefiner.exe with window messages, for the
// end-to-end run under Wine. Prints what it sees, one "key value..." a line,
// for end_to_end.py to check.
//
//   photo_driver enhance <PhotoRefiner.exe> <image> <out folder>
//     Load the image, move each slider with keys, pick Close-up, save as
//     enhanced.jpg (quality Medium) and enhanced.bmp, shoot the screen, Exit.
//   photo_driver restart <PhotoRefiner.exe> <out folder>
//     Show the sliders a second start begins with and the quality the JPEG
//     box preselects, close the box (nothing is saved), Exit.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kLoad = 1000, kAfterView = 1004, kSave = 1014, kStatus = 1019;
constexpr int kCloseUp = 1009, kMedium = 1009, kImprove = 1020;
// The file-name box of the system's file choosers (combo box, or edit in the older layout).
constexpr int kFileNameCombo = 0x47c, kFileNameEdit = 0x480;

struct Slider {
  int id;
  const char* key;
  WORD key_code;
  int presses;
};
// Each to a position that changes the result; auto balance below 100, where its weight drops under 1.
const Slider kSliders[] = {
    {1006, "denoise", VK_LEFT, 15},
    {1010, "sharpen", VK_RIGHT, 20},
    {1011, "gamma", VK_LEFT, 20},
    {1012, "autobr", VK_LEFT, 120},
    {1013, "satur", VK_RIGHT, 40},
};

DWORD gProcessId = 0;

[[noreturn]] void Fail(const std::string& what) {
  std::printf("failed %s\n", what.c_str());
  std::fflush(stdout);
  std::exit(1);
}

bool WaitFor(const std::function<bool()>& done, int milliseconds = 30000) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    if (done()) return true;
    Sleep(50);
  }
  return done();
}

struct WindowSearch {
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<WindowSearch*>(lparam);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  if (process != gProcessId || !IsWindowVisible(hwnd) || *search->caption != text) return TRUE;
  search->found = hwnd;
  return FALSE;
}

// A visible top-level window of the program with this caption.
HWND FindProgramWindow(const std::string& caption) {
  WindowSearch search = {&caption, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const std::string& caption) {
  HWND found = nullptr;
  if (!WaitFor([&] { return (found = FindProgramWindow(caption)) != nullptr; })) Fail("no window \"" + caption + "\"");
  return found;
}

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

void Press(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

// The pixels of a window as the screen shows them.
std::vector<COLORREF> Shoot(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < height; y += 2)
    for (int x = 0; x < width; x += 2) pixels.push_back(GetPixel(memory, x, y));
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The screen as a 24-bit BMP file.
void SaveScreen(const std::string& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFOHEADER info = {sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const DWORD row = (width * 3 + 3) & ~3u, size = row * height;
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof info + size), 0, 0,
                           static_cast<DWORD>(sizeof file + sizeof info)};
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(bits, 1, size, out);
    std::fclose(out);
  }
  SelectObject(memory, previous);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

struct Program {
  PROCESS_INFORMATION process = {};
  HWND dialog = nullptr;
  HWND Item(int id) const { return GetDlgItem(dialog, id); }
  std::string Status() const { return TextOf(Item(kStatus)); }
};

Program Start(const std::string& exe) {
  Program program;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string command = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &program.process))
    Fail("start " + exe);
  gProcessId = program.process.dwProcessId;
  WaitForInputIdle(program.process.hProcess, 30000);
  program.dialog = WaitForWindow("PhotoRefiner 1.3");
  return program;
}

void PrintSliders(const char* when, const Program& program) {
  std::printf("%s", when);
  for (const Slider& slider : kSliders)
    std::printf(" %s=%d", slider.key, static_cast<int>(SendMessageA(program.Item(slider.id), TBM_GETPOS, 0, 0)));
  std::printf("\n");
  std::fflush(stdout);
}

// Types the path into the file chooser with that title and presses its OK.
void ChooseFile(const std::string& title, const std::string& path) {
  HWND chooser = WaitForWindow(title);
  HWND name = GetDlgItem(chooser, kFileNameCombo);
  if (!name) name = GetDlgItem(chooser, kFileNameEdit);
  if (!name) Fail("no file-name box in \"" + title + "\"");
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  Press(GetDlgItem(chooser, IDOK));
  if (!WaitFor([&] { return !IsWindow(chooser); })) Fail("\"" + title + "\" stayed open");
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// After a save the program rebuilds the preview: the file is there and the status says "Done...".
void WaitForSave(const Program& program, const std::string& path) {
  if (!WaitFor([&] { return FileExists(path) && program.Status() == "Done..."; }, 120000)) Fail("save of " + path);
  std::printf("saved %s\n", path.c_str());
}

void Exit(Program& program) {
  Press(program.Item(IDOK));
  if (WaitForSingleObject(program.process.hProcess, 30000) != WAIT_OBJECT_0) Fail("the program did not end");
  std::printf("ended\n");
}

// Holds the key on the focused trackbar: repeated key-downs, one key-up, which ends the scroll.
void MoveSlider(const Program& program, const Slider& slider) {
  HWND trackbar = program.Item(slider.id);
  const DWORD thread = GetWindowThreadProcessId(program.dialog, nullptr);
  AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
  SetFocus(trackbar);
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  for (int i = 0; i < slider.presses; ++i) PostMessageA(trackbar, WM_KEYDOWN, slider.key_code, 1);
  PostMessageA(trackbar, WM_KEYUP, slider.key_code, 0xC0000001);
}

void Enhance(const std::string& exe, const std::string& image, const std::string& out) {
  Program program = Start(exe);
  PrintSliders("start", program);
  Press(program.Item(kLoad));
  ChooseFile("Load image file", image);
  const std::string name = image.substr(image.find_last_of('\\') + 1);
  if (!WaitFor([&] { return TextOf(program.dialog) == "PicRefine : " + name && program.Status() == "Done..."; }))
    Fail("load: title \"" + TextOf(program.dialog) + "\", status \"" + program.Status() + "\"");
  std::printf("loaded %s\n", TextOf(program.dialog).c_str());

  HWND after = program.Item(kAfterView);
  std::vector<COLORREF> shown = Shoot(after);
  auto changed = [&](const char* what) {
    const bool moved = WaitFor([&] { return Shoot(after) != shown; }, 20000);
    std::printf("changed %s %s\n", what, moved ? "yes" : "no");
    shown = Shoot(after);
  };
  for (const Slider& slider : kSliders) {
    MoveSlider(program, slider);
    changed(slider.key);
  }
  Press(program.Item(kCloseUp));
  changed("subject");
  PrintSliders("final", program);

  Press(program.Item(kSave));
  ChooseFile("Save current image to this file", out + "\\enhanced.jpg");
  HWND quality = WaitForWindow("JPG Quality");
  std::printf("improve %d\n", static_cast<int>(SendMessageA(GetDlgItem(quality, kImprove), BM_GETCHECK, 0, 0)));
  SendMessageA(GetDlgItem(quality, kMedium), BM_CLICK, 0, 0);
  Press(GetDlgItem(quality, IDOK));
  WaitForSave(program, out + "\\enhanced.jpg");

  Press(program.Item(kSave));
  ChooseFile("Save current image to this file", out + "\\enhanced.bmp");
  WaitForSave(program, out + "\\enhanced.bmp");
  // The program has painted what it set before it answers.
  Sleep(500);
  SendMessageTimeoutA(program.dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
  SaveScreen(out + "\\screenshot.bmp");
  Exit(program);
}

void Restart(const std::string& exe, const std::string& out) {
  Program program = Start(exe);
  PrintSliders("start", program);
  // With nothing loaded a save is refused by the empty document, after the quality box.
  Press(program.Item(kSave));
  ChooseFile("Save current image to this file", out + "\\second.jpg");
  HWND quality = WaitForWindow("JPG Quality");
  for (int id = 1007; id <= 1010; ++id)
    if (SendMessageA(GetDlgItem(quality, id), BM_GETCHECK, 0, 0) == BST_CHECKED)
      std::printf("preselected %d\n", id - 1007);
  PostMessageA(quality, WM_CLOSE, 0, 0);
  if (!WaitFor([&] { return !IsWindow(quality); })) Fail("the quality box stayed open");
  std::printf("status %s\n", program.Status().c_str());
  std::printf("second %s\n", FileExists(out + "\\second.jpg") ? "written" : "absent");
  Exit(program);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "enhance" && argc == 5) {
    Enhance(argv[2], argv[3], argv[4]);
  } else if (mode == "restart" && argc == 4) {
    Restart(argv[2], argv[3]);
  } else {
    std::fprintf(stderr, "usage: photo_driver enhance <exe> <image> <out> | restart <exe> <out>\n");
    return 2;
  }
  std::fflush(stdout);
  return 0;
}
