// The TWAIN test host: plays the application. It loads a data source by path,
// takes its DS_Entry and drives it as a host does, printing every answer.
//   twainhost <data source> [options]
//     --product NAME        the host's ProductName (default "twainhost")
//     --manufacturer NAME   the host's Manufacturer (default "Quillbrook Tests")
//     --cycle               open, negotiate, enable, disable and close the source
//     --loop N              load, open, enable, disable, close and unload N times
//     --transfer native|memory  open, enable, press Scan, pull every image the
//                           source announces in that mode and write each to a file
//     --batch               choose the batch mode in the source's scan-mode list
//                           before Scan: every frame of the list
//     --files PATH          choose the file mode ("Normal (Datei)", with --batch
//                           "Stapel Modus (Datei)") in the source's window, press
//                           Scan and answer its save-as dialog: the type by the
//                           extension (.jpg JPEG, .eps EPSF, else TIFF) chosen,
//                           then the path typed as the file name
//     --type NAME           (with --files) choose the save-as type whose text
//                           starts with NAME instead (as "DCS")
//     --prescan             (with --transfer) press Prescan with Alt held in the
//                           source's window before Scan
//     --open PATH           (with --transfer) press Prescan without Alt ("Öffnen")
//                           before Scan and answer the open-image dialog with the
//                           path typed as the file name; an empty PATH cancels it
//     --choose PATH         (with --transfer) answer the open-image dialog that a
//                           source without a recent image shows at MSG_ENABLEDS
//     --snapshot PATH       (with --transfer or --cancel) the source's window as a
//                           .bmp before Scan or Cancel
//     --progress-snapshot PATH  (with --transfer memory) the source's progress
//                           window as a .bmp once half the image has come
//     --cancel              open, enable, press Cancel in the source's window and
//                           report MSG_CLOSEDSREQ, then disable and close
//     --close-key           the same with Ctrl+W typed in the source's window
//     --resize W H          (with --cancel) before Cancel, drag the source window's
//                           bottom-right corner to W x H: the messages of the drag
//                           (WM_SIZING, then the size it allowed)
//     --field ID TEXT       (with --cancel) before Cancel, type TEXT into the edit
//                           field ID of the source's window (its text set, as its
//                           change notification tells the page) and print what
//                           the field shows afterwards
//     --out PATH            the file of the first image (default "received.bmp" or
//                           "received.pnm"); later images of a batch get "-2", "-3"...
//                           before the extension
// The source's window is a child of the host's own top-level window; the host
// runs that window's messages and forwards each to the source by
// MSG_PROCESSEVENT, and presses the window's buttons with the messages they
// send (keys by SendInput).
// A message box of the source (as at the end of a batch) is printed as
// "notice: <caption>: <text>" and answered with OK, as a user would, so that
// an unexpected box shows in the report instead of blocking the run.
// Any answer a host would not accept is printed as a line starting with FAIL,
// and the exit code is then 1.
#include <windows.h>
#include <dlgs.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "twain/twain_records.h"

namespace {

int gFailures = 0;

void Fail(const char* what, unsigned got, unsigned wanted) {
  std::printf("FAIL %s: got %u, wanted %u\n", what, got, wanted);
  ++gFailures;
}

struct Host {
  HMODULE module = nullptr;
  DSENTRYPROC entry = nullptr;
  TW_IDENTITY application = {};
  TW_IDENTITY source = {};
  bool verbose = true;

  TW_UINT16 Call(TW_UINT32 dataGroup, TW_UINT16 dataArgument, TW_UINT16 message, TW_MEMREF data) {
    return entry(&application, dataGroup, dataArgument, message, data);
  }

  TW_UINT16 ConditionCode() {
    TW_STATUS status = {};
    Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
  }

  // One triplet whose answer must be the wanted one; prints it.
  void Expect(const char* name, TW_UINT32 dataGroup, TW_UINT16 dataArgument, TW_UINT16 message, TW_MEMREF data,
              TW_UINT16 wanted) {
    TW_UINT16 rc = Call(dataGroup, dataArgument, message, data);
    if (verbose) std::printf("%s: rc=%u\n", name, rc);
    if (rc != wanted) {
      Fail(name, rc, wanted);
      std::printf("  condition code %u\n", ConditionCode());
    }
  }
};

void PrintIdentity(const TW_IDENTITY& identity) {
  std::printf("Identity: version %u.%u \"%.34s\" language %u country %u protocol %u.%u groups %lu\n",
              identity.Version.MajorNum, identity.Version.MinorNum, identity.Version.Info,
              identity.Version.Language, identity.Version.Country, identity.ProtocolMajor,
              identity.ProtocolMinor, static_cast<unsigned long>(identity.SupportedGroups));
  std::printf("Manufacturer: %.34s\nProductFamily: %.34s\nProductName: %.34s\n", identity.Manufacturer,
              identity.ProductFamily, identity.ProductName);
}

const char* ContainerName(TW_UINT16 conType) {
  switch (conType) {
    case TWON_ARRAY:
      return "array";
    case TWON_ENUMERATION:
      return "enumeration";
    case TWON_ONEVALUE:
      return "one value";
    default:
      return "unknown";
  }
}

void PrintItem(const TW_UINT8* item, TW_UINT16 itemType) {
  if (itemType == TWTY_FIX32) {
    TW_FIX32 fix;
    std::memcpy(&fix, item, sizeof fix);
    std::printf(" %.2f", fix.Whole + fix.Frac / 65536.0);
  } else if (itemType == TWTY_INT16) {
    TW_INT16 value;
    std::memcpy(&value, item, sizeof value);
    std::printf(" %d", value);
  } else {
    TW_UINT16 value;
    std::memcpy(&value, item, sizeof value);
    std::printf(" 0x%x", value);
  }
}

TW_UINT32 ItemSize(TW_UINT16 itemType) {
  return itemType == TWTY_FIX32 || itemType == TWTY_INT32 || itemType == TWTY_UINT32 ? 4 : 2;
}

// Prints the container the source built and frees it, as the host must.
void PrintAndFreeContainer(const char* name, TW_CAPABILITY& capability) {
  auto* block = static_cast<const TW_UINT8*>(GlobalLock(capability.hContainer));
  if (!block) {
    std::printf("FAIL %s: no container\n", name);
    ++gFailures;
    return;
  }
  TW_UINT16 itemType;
  std::memcpy(&itemType, block, 2);
  std::printf("%s: %s type %u:", name, ContainerName(capability.ConType), itemType);
  if (capability.ConType == TWON_ONEVALUE) {
    PrintItem(block + 2, itemType);
  } else {
    TW_UINT32 count;
    std::memcpy(&count, block + 2, 4);
    const TW_UINT8* items = block + (capability.ConType == TWON_ENUMERATION ? 14 : 6);
    for (TW_UINT32 i = 0; i < count; ++i) PrintItem(items + i * ItemSize(itemType), itemType);
    if (capability.ConType == TWON_ENUMERATION) {
      TW_UINT32 current, fallback;
      std::memcpy(&current, block + 6, 4);
      std::memcpy(&fallback, block + 10, 4);
      std::printf(" (current %lu, default %lu)", static_cast<unsigned long>(current),
                  static_cast<unsigned long>(fallback));
    }
  }
  std::printf("\n");
  GlobalUnlock(capability.hContainer);
  GlobalFree(capability.hContainer);
}

void AskCapability(Host& host, const char* name, TW_UINT16 message, TW_UINT16 cap) {
  TW_CAPABILITY capability = {cap, 0, nullptr};
  TW_UINT16 rc = host.Call(DG_CONTROL, DAT_CAPABILITY, message, &capability);
  if (rc != TWRC_SUCCESS) {
    Fail(name, rc, TWRC_SUCCESS);
    return;
  }
  if (host.verbose) {
    PrintAndFreeContainer(name, capability);
  } else {
    GlobalFree(capability.hContainer);
  }
}

void SetOneValue(Host& host, const char* name, TW_UINT16 cap, TW_UINT16 itemType, TW_UINT32 value) {
  TW_CAPABILITY capability = {cap, TWON_ONEVALUE, GlobalAlloc(GMEM_MOVEABLE, sizeof(TW_ONEVALUE))};
  auto* item = static_cast<TW_ONEVALUE*>(GlobalLock(capability.hContainer));
  item->ItemType = itemType;
  item->Item = value;
  GlobalUnlock(capability.hContainer);
  host.Expect(name, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability, TWRC_SUCCESS);
  GlobalFree(capability.hContainer);
}

// What a host negotiates before it enables the source.
void Negotiate(Host& host) {
  AskCapability(host, "CAP_SUPPORTEDCAPS get", MSG_GET, CAP_SUPPORTEDCAPS);
  AskCapability(host, "CAP_XFERCOUNT get", MSG_GET, CAP_XFERCOUNT);
  AskCapability(host, "CAP_XFERCOUNT current", MSG_GETCURRENT, CAP_XFERCOUNT);
  AskCapability(host, "ICAP_PIXELTYPE get", MSG_GET, ICAP_PIXELTYPE);
  SetOneValue(host, "ICAP_PIXELTYPE set gray", ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY);
  AskCapability(host, "ICAP_PIXELTYPE current", MSG_GETCURRENT, ICAP_PIXELTYPE);
  AskCapability(host, "ICAP_BITDEPTH get", MSG_GET, ICAP_BITDEPTH);
  SetOneValue(host, "ICAP_XFERMECH set memory", ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY);
  AskCapability(host, "ICAP_XFERMECH current", MSG_GETCURRENT, ICAP_XFERMECH);
  AskCapability(host, "ICAP_XRESOLUTION current", MSG_GETCURRENT, ICAP_XRESOLUTION);
  AskCapability(host, "ICAP_PIXELFLAVOR current", MSG_GETCURRENT, ICAP_PIXELFLAVOR);

  TW_CAPABILITY unknown = {0x1001, 0, nullptr};
  host.Expect("CAP_AUTOFEED get", DG_CONTROL, DAT_CAPABILITY, MSG_GET, &unknown, TWRC_FAILURE);
  TW_UINT16 code = host.ConditionCode();
  if (host.verbose) std::printf("DAT_STATUS: condition %u\n", code);
  if (code != TWCC_BADCAP) Fail("DAT_STATUS after an unknown capability", code, TWCC_BADCAP);
}

// Forwards the thread's pending window messages to the source, as a host's loop does.
void PumpEvents(Host& host) {
  MSG message;
  int forwarded = 0, taken = 0;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TW_EVENT event = {&message, MSG_NULL};
    ++forwarded;
    if (host.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) == TWRC_DSEVENT) {
      ++taken;
    } else {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (host.verbose) std::printf("events: %d forwarded, %d taken by the source\n", forwarded, taken);
}

void Cycle(Host& host, bool negotiate) {
  TW_IDENTITY assigned = host.source;
  assigned.Id = 7;
  host.Expect("MSG_OPENDS", DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &assigned, TWRC_SUCCESS);
  if (negotiate) Negotiate(host);

  TW_USERINTERFACE ui = {TRUE, FALSE, GetDesktopWindow()};
  host.Expect("MSG_ENABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui, TWRC_SUCCESS);
  if (host.verbose) std::printf("ModalUI: %u\n", ui.ModalUI);
  TW_UINT32 group = 0;
  host.Expect("DAT_XFERGROUP get", DG_CONTROL, DAT_XFERGROUP, MSG_GET, &group, TWRC_SUCCESS);
  if (group != DG_IMAGE) Fail("DAT_XFERGROUP", group, DG_IMAGE);
  PumpEvents(host);
  host.Expect("MSG_ENABLEDS again", DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui, TWRC_FAILURE);
  TW_UINT16 code = host.ConditionCode();
  if (code != TWCC_SEQERROR) Fail("DAT_STATUS after a second MSG_ENABLEDS", code, TWCC_SEQERROR);

  host.Expect("MSG_DISABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui, TWRC_SUCCESS);
  host.Expect("MSG_CLOSEDS", DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &assigned, TWRC_SUCCESS);
}

// --- transfers ---------------------------------------------------------------

// The items of the source's scan-mode list (combo 1031).
enum ScanModeItem { kScanModeNormal = 1, kScanModeBatch = 2, kScanModeFile = 3, kScanModeBatchFile = 4 };

// --- message boxes of the source -------------------------------------------

// The answer the host gives the source's save-as dialog.
struct SaveAsAnswer {
  std::string path;      // typed as the file name
  std::string typeName;  // the file type whose text starts with it
  volatile LONG answered = 0;
  HWND dialog = nullptr;  // the dialog answered
};
SaveAsAnswer gSaveAs;

// The answer the host gives the source's open-image dialog: the path, or Cancel when empty.
struct OpenAnswer {
  bool expected = false;
  std::string path;
  volatile LONG answered = 0;
  HWND dialog = nullptr;  // answered already: seen again while it closes
};
OpenAnswer gOpenImage;

bool IsFileDialog(HWND window) { return GetDlgItem(window, cmb1) != nullptr; }

std::string ItemText(HWND combo, int index) {
  char text[256] = {};
  if (SendMessageA(combo, CB_GETLBTEXTLEN, index, 0) < static_cast<LRESULT>(sizeof text))
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

// As a user does: the type chosen first (it changes the name's extension), then the name typed, then OK.
// A file dialog the host has no answer for is reported and cancelled.
void AnswerSaveAs(HWND dialog) {
  if (dialog == gSaveAs.dialog) return;
  if (gSaveAs.path.empty() || InterlockedExchange(&gSaveAs.answered, 1) != 0) {
    char caption[128] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    std::printf("notice: %s: a file dialog the host did not expect\n", caption);
    std::fflush(stdout);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  gSaveAs.dialog = dialog;
  HWND types = GetDlgItem(dialog, cmb1);
  const int count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
  std::string offered;
  int chosen = -1;
  for (int i = 0; i < count; ++i) {
    const std::string text = ItemText(types, i);
    offered += (i ? ", " : "") + text;
    if (chosen < 0 && text.compare(0, gSaveAs.typeName.size(), gSaveAs.typeName) == 0) chosen = i;
  }
  std::printf("save-as types: %s\n", offered.c_str());
  if (chosen < 0) {
    std::printf("FAIL save-as: no type %s\n", gSaveAs.typeName.c_str());
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    std::fflush(stdout);
    return;
  }
  SendMessageA(types, CB_SETCURSEL, chosen, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
  HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(gSaveAs.path.c_str()));
  std::printf("save-as: %s as %s\n", gSaveAs.path.c_str(), ItemText(types, chosen).c_str());
  std::fflush(stdout);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// As a user does: the name typed, then OK; or Cancel.
void AnswerOpenImage(HWND dialog) {
  if (InterlockedExchange(&gOpenImage.answered, 1) != 0) return;
  gOpenImage.dialog = dialog;
  if (gOpenImage.path.empty()) {
    std::printf("open-image: cancelled\n");
    std::fflush(stdout);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(gOpenImage.path.c_str()));
  std::printf("open-image: %s\n", gOpenImage.path.c_str());
  std::fflush(stdout);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM text) {
  char className[16], part[512];
  if (GetClassNameA(child, className, sizeof className) && lstrcmpiA(className, "Static") == 0 &&
      GetWindowTextA(child, part, sizeof part) > 0) {
    reinterpret_cast<std::string*>(text)->append(part);
  }
  return TRUE;
}

BOOL CALLBACK AnswerMessageBox(HWND window, LPARAM) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[16];
  if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
      !GetClassNameA(window, className, sizeof className) || std::strcmp(className, "#32770") != 0) {
    return TRUE;
  }
  if (IsFileDialog(window)) {
    if (window == gOpenImage.dialog) return TRUE;
    if (gOpenImage.expected && !gOpenImage.answered) {
      AnswerOpenImage(window);
    } else {
      AnswerSaveAs(window);
    }
    return TRUE;
  }
  // Message boxes have an OK button and no other controls of ours; the
  // source's progress window has a cancel button only.
  HWND ok = GetDlgItem(window, IDOK);
  if (!ok) return TRUE;
  char caption[128] = {};
  GetWindowTextA(window, caption, sizeof caption);
  std::string text;
  EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&text));
  std::printf("notice: %s: %s\n", caption, text.c_str());
  std::fflush(stdout);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  return TRUE;
}

// Plays the user in front of the screen: every box the source shows is read and answered.
DWORD WINAPI AnswerMessageBoxes(LPVOID) {
  for (;;) {
    EnumWindows(AnswerMessageBox, 0);
    Sleep(100);
  }
}

std::string NumberedPath(const std::string& first, int image) {
  if (image == 1) return first;
  size_t dot = first.find_last_of('.');
  size_t slash = first.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = first.size();
  return first.substr(0, dot) + "-" + std::to_string(image) + first.substr(dot);
}

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

void PutU16(std::vector<unsigned char>& bytes, unsigned value) {
  bytes.push_back(value & 0xFF);
  bytes.push_back((value >> 8) & 0xFF);
}
void PutU32(std::vector<unsigned char>& bytes, unsigned long value) {
  PutU16(bytes, value & 0xFFFF);
  PutU16(bytes, (value >> 16) & 0xFFFF);
}

// The packed bitmap as a .bmp file: a file header in front of it.
bool WriteBitmapFile(const std::string& path, HGLOBAL bitmap) {
  auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(bitmap));
  if (!header) return false;
  DWORD colors = header->biClrUsed ? header->biClrUsed : (header->biBitCount <= 8 ? 1u << header->biBitCount : 0);
  DWORD bitsOffset = header->biSize + 4 * colors;
  DWORD stride = ((header->biBitCount * header->biWidth + 31) / 32) * 4;
  DWORD packedSize = bitsOffset + stride * static_cast<DWORD>(std::labs(header->biHeight));
  std::printf("bitmap: %ldx%ld, %u bits, %lu colours, %ld x %ld pixels per metre\n", header->biWidth,
              header->biHeight, header->biBitCount, static_cast<unsigned long>(colors), header->biXPelsPerMeter,
              header->biYPelsPerMeter);
  std::vector<unsigned char> bytes;
  bytes.push_back('B');
  bytes.push_back('M');
  PutU32(bytes, 14 + packedSize);
  PutU32(bytes, 0);
  PutU32(bytes, 14 + bitsOffset);
  auto* packed = reinterpret_cast<const unsigned char*>(header);
  bytes.insert(bytes.end(), packed, packed + packedSize);
  GlobalUnlock(bitmap);
  return WriteFile(path, bytes);
}

// The rows of a memory transfer as a portable anymap (PBM, PGM or PPM; CMYK
// pixels as a PAM of tuple type CMYK).
bool WriteAnymapFile(const std::string& path, const TW_IMAGEINFO& info, const std::vector<unsigned char>& image,
                     TW_UINT32 rowBytes) {
  const int width = info.ImageWidth, height = info.ImageLength, bits = info.BitsPerSample[0];
  const int samples = info.SamplesPerPixel;
  if (samples != 1 && samples != 3 && samples != 4) return false;
  char head[96];
  const char* magic = bits == 1 ? "P4" : samples == 1 ? "P5" : "P6";
  if (samples == 4) {
    std::snprintf(head, sizeof head, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL %d\nTUPLTYPE CMYK\nENDHDR\n", width,
                  height, bits == 16 ? 65535 : 255);
  } else if (bits == 1) {
    std::snprintf(head, sizeof head, "%s\n%d %d\n", magic, width, height);
  } else {
    std::snprintf(head, sizeof head, "%s\n%d %d\n%d\n", magic, width, height, bits == 16 ? 65535 : 255);
  }
  std::vector<unsigned char> bytes(head, head + std::strlen(head));
  const size_t used = bits == 1 ? (width + 7) / 8 : static_cast<size_t>(width) * samples * bits / 8;
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = image.data() + static_cast<size_t>(y) * rowBytes;
    for (size_t i = 0; i < used; ++i) {
      if (bits == 16) {
        bytes.push_back(row[(i ^ 1)]);  // big-endian samples in the file
      } else if (bits == 1) {
        bytes.push_back(static_cast<unsigned char>(~row[i]));  // 1 is white in the rows, black in the file
      } else {
        bytes.push_back(row[i]);
      }
    }
  }
  return WriteFile(path, bytes);
}

// --- the source's window ------------------------------------------------------

// The host's own top-level window, the parent of the source's window.
HWND CreateHostWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "TwainHostWindow";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("TwainHostWindow", "twainhost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
  return window;
}

BOOL CALLBACK FindSourceWindow(HWND window, LPARAM found) {
  char className[32];
  if (GetClassNameA(window, className, sizeof className) && std::strcmp(className, "QBDialog") == 0) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

HWND SourceWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindSourceWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Runs the messages as a host's loop does until none has come for a while.
void RunEvents(Host& host) {
  DWORD quietSince = GetTickCount();
  while (GetTickCount() - quietSince < 300) {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      Sleep(10);
      continue;
    }
    quietSince = GetTickCount();
    TW_EVENT event = {&message, MSG_NULL};
    if (host.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) != TWRC_DSEVENT) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

void SendKey(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

// A button of the source's window, pressed as its click sends it; with Alt held when asked.
void Press(Host& host, HWND window, int id, bool alt) {
  if (alt) SendKey(VK_MENU, false);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  RunEvents(host);
  if (alt) {
    // Alt pressed and released alone would open the window's menu; the user's
    // click comes between, here another key does.
    SendKey(VK_SHIFT, false);
    SendKey(VK_SHIFT, true);
    SendKey(VK_MENU, true);
  }
  RunEvents(host);
}

BOOL CALLBACK FindScanModeCombo(HWND child, LPARAM found) {
  if (GetDlgCtrlID(child) != 1031) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

// Chooses the item of the source's scan-mode list as a user's pick does:
// the list's selection, then its notification to the page holding it.
void ChooseScanMode(Host& host, HWND window, int item) {
  HWND combo = nullptr;
  EnumChildWindows(window, FindScanModeCombo, reinterpret_cast<LPARAM>(&combo));
  if (!combo) {
    Fail("the scan-mode list in the source's window", 0, 1);
    return;
  }
  SendMessageA(combo, CB_SETCURSEL, item - 1, 0);
  PostMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(1031, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  RunEvents(host);
  const int shown = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)) + 1;
  char text[256] = {};
  SendMessageA(combo, CB_GETLBTEXT, shown - 1, reinterpret_cast<LPARAM>(text));
  std::printf("scan mode: %s\n", text);
  if (shown != item) Fail("the scan-mode item kept", shown, item);
}

// The window as the screen shows it, written as a 24-bit .bmp.
bool WriteWindowSnapshot(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* pixels = nullptr;
  HBITMAP section = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &pixels,
                                     nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  SelectObject(memory, old);
  const DWORD stride = ((24 * width + 31) / 32) * 4;
  HGLOBAL packed = GlobalAlloc(GMEM_MOVEABLE, sizeof header + stride * height);
  auto* out = static_cast<unsigned char*>(GlobalLock(packed));
  header.biSizeImage = stride * height;
  std::memcpy(out, &header, sizeof header);
  std::memcpy(out + sizeof header, pixels, stride * height);
  GlobalUnlock(packed);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const bool written = WriteBitmapFile(path, packed);
  GlobalFree(packed);
  return written;
}

// True when the recording source manager saw the message (0x0101 MSG_XFERREADY, 0x0102 MSG_CLOSEDSREQ).
bool SourceManagerSaw(const char* message) {
  char path[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("ZIR_FAKEDSM_LOG", path, sizeof path);
  FILE* log = std::fopen(length > 0 && length < sizeof path ? path : "fakedsm.log", "r");
  if (!log) return false;
  char line[512];
  bool seen = false;
  while (std::fgets(line, sizeof line, log)) {
    if (std::strstr(line, message)) seen = true;
  }
  std::fclose(log);
  return seen;
}

// Enables the source in the host's window and finds the source's window in it.
HWND EnableInWindow(Host& host, TW_USERINTERFACE* ui) {
  ui->ShowUI = TRUE;
  ui->hParent = CreateHostWindow();
  host.Expect("MSG_ENABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, ui, TWRC_SUCCESS);
  RunEvents(host);
  HWND window = SourceWindow();
  if (!window) {
    Fail("the source's window", 0, 1);
    return nullptr;
  }
  // The preview control's size and its place in the window (as a snapshot shows it).
  RECT r, outer;
  HWND preview = GetDlgItem(window, 1047);
  GetClientRect(preview, &r);
  MapWindowPoints(preview, nullptr, reinterpret_cast<POINT*>(&r), 2);
  GetWindowRect(window, &outer);
  std::printf("source window: preview %ldx%ld at %ld,%ld, %s\n", r.right - r.left, r.bottom - r.top,
              r.left - outer.left, r.top - outer.top, IsWindowVisible(window) ? "shown" : "hidden");
  std::printf("source window: placed at %ld,%ld\n", outer.left, outer.top);
  char caption[256] = "";
  GetWindowTextA(window, caption, sizeof caption);
  std::printf("source window: caption \"%s\"\n", caption);
  return window;
}

struct WindowActions {
  bool prescan = false;
  int resizeWidth = 0;  // a drag of the window's corner to this size before Cancel (0: none)
  int resizeHeight = 0;
  bool open = false;  // Prescan without Alt: the open-image dialog answered with openPath
  std::string openPath;
  std::string choosePath;  // the answer to the open-image dialog at MSG_ENABLEDS
  bool closeKey = false;  // Cancel by Ctrl+W instead of the button
  int fieldId = 0;  // an edit field typed into before Cancel (0: none)
  std::string fieldText;
  std::string snapshot;
};

// A path of the host's file system as Windows names it under Wine.
std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  for (char& c : windows)
    if (c == '/') c = '\\';
  return windows;
}

// Prescan without Alt reads "Öffnen": the source asks for an image, which the host gives (or cancels).
void OpenInWindow(Host& host, HWND window, const std::string& path) {
  gOpenImage.path = WindowsPath(path);
  gOpenImage.expected = true;
  Press(host, window, 1012, false);
  if (!gOpenImage.answered) Fail("the open-image dialog shown", 0, 1);
  gOpenImage.expected = false;
}

// The messages of a drag of the bottom-right corner: WM_SIZING with the
// dragged rectangle, then the window set to the rectangle it allowed.
void ResizeInWindow(Host& host, HWND window, int width, int height) {
  RECT r;
  GetWindowRect(window, &r);
  r.right = r.left + width;
  r.bottom = r.top + height;
  SendMessageA(window, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&r));
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RunEvents(host);
  RECT preview;
  GetClientRect(GetDlgItem(window, 1047), &preview);
  std::printf("source window: resized to %ldx%ld, preview %ldx%ld\n", r.right - r.left, r.bottom - r.top,
              preview.right, preview.bottom);
}

struct FoundControl {
  int id;
  HWND control;
};

BOOL CALLBACK FindControlById(HWND child, LPARAM found) {
  auto* wanted = reinterpret_cast<FoundControl*>(found);
  if (GetDlgCtrlID(child) != wanted->id) return TRUE;
  wanted->control = child;
  return FALSE;
}

// The edit field of a page in the source's window, given the text a user
// types: the field's change notification carries it to the page.
void TypeIntoField(Host& host, HWND window, int id, const std::string& text) {
  FoundControl found = {id, nullptr};
  EnumChildWindows(window, FindControlById, reinterpret_cast<LPARAM>(&found));
  if (!found.control) {
    Fail("the edit field in the source's window", 0, static_cast<unsigned>(id));
    return;
  }
  SetFocus(found.control);
  SendMessageA(found.control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  RunEvents(host);
  char shown[256] = "";
  GetWindowTextA(found.control, shown, sizeof shown);
  std::printf("field %d: \"%s\"\n", id, shown);
}

void TakeSnapshot(HWND window, const WindowActions& actions) {
  if (window && !actions.snapshot.empty() && !WriteWindowSnapshot(window, actions.snapshot))
    Fail("the window snapshot", 0, 1);
}

void CancelInWindow(Host& host, const WindowActions& actions) {
  TW_IDENTITY assigned = host.source;
  assigned.Id = 7;
  host.Expect("MSG_OPENDS", DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &assigned, TWRC_SUCCESS);
  TW_USERINTERFACE ui = {};
  HWND window = EnableInWindow(host, &ui);
  if (window && actions.resizeWidth > 0) ResizeInWindow(host, window, actions.resizeWidth, actions.resizeHeight);
  if (window && actions.fieldId != 0) TypeIntoField(host, window, actions.fieldId, actions.fieldText);
  TakeSnapshot(window, actions);
  if (window && actions.closeKey) {
    SetForegroundWindow(window);
    SendKey(VK_CONTROL, false);
    SendKey('W', false);
    SendKey('W', true);
    SendKey(VK_CONTROL, true);
    RunEvents(host);
  } else if (window) {
    Press(host, window, IDCANCEL, false);
  }
  if (SourceManagerSaw("DAT=0x0000 MSG=0x0102")) {
    std::printf("MSG_CLOSEDSREQ seen at the source manager\n");
  } else {
    Fail("MSG_CLOSEDSREQ at the source manager", 0, 1);
  }
  host.Expect("MSG_DISABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui, TWRC_SUCCESS);
  if (SourceWindow()) Fail("the source's window gone after MSG_DISABLEDS", 0, 1);
  host.Expect("MSG_CLOSEDS", DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &assigned, TWRC_SUCCESS);
  DestroyWindow(static_cast<HWND>(ui.hParent));
}

bool AskImageInfo(Host& host, TW_IMAGEINFO* info) {
  TW_UINT16 rc = host.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, info);
  if (rc != TWRC_SUCCESS) {
    Fail("DAT_IMAGEINFO", rc, TWRC_SUCCESS);
    return false;
  }
  std::printf("image info: %ldx%ld, %d samples of %d bits, %d bits per pixel, pixel type %d, %d x %d dpi, "
              "planar %u, compression %u\n",
              static_cast<long>(info->ImageWidth), static_cast<long>(info->ImageLength), info->SamplesPerPixel,
              info->BitsPerSample[0], info->BitsPerPixel, info->PixelType, info->XResolution.Whole,
              info->YResolution.Whole, info->Planar, info->Compression);
  TW_IMAGELAYOUT layout = {};
  host.Expect("DAT_IMAGELAYOUT", DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout, TWRC_SUCCESS);
  std::printf("image layout: %.3f x %.3f inches\n", layout.Frame.Right.Whole + layout.Frame.Right.Frac / 65536.0,
              layout.Frame.Bottom.Whole + layout.Frame.Bottom.Frac / 65536.0);
  return true;
}

bool PullNative(Host& host, const std::string& path) {
  TW_HANDLE bitmap = nullptr;
  TW_UINT16 rc = host.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &bitmap);
  std::printf("DAT_IMAGENATIVEXFER: rc=%u\n", rc);
  if (rc != TWRC_XFERDONE || !bitmap) {
    Fail("DAT_IMAGENATIVEXFER", rc, TWRC_XFERDONE);
    return false;
  }
  bool written = WriteBitmapFile(path, bitmap);
  GlobalFree(bitmap);  // the host owns what it received
  return written;
}

// The progress window's snapshot taken during a memory transfer (empty: none).
std::string gProgressSnapshot;

// The source's progress window: a shown window of this thread with the progress
// bar (1116) and the picture (1117) among its items.
BOOL CALLBACK FindProgressWindow(HWND window, LPARAM found) {
  if (!IsWindowVisible(window) || !GetDlgItem(window, 1116) || !GetDlgItem(window, 1117)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Takes the progress window as the screen shows it and reports where its picture lies in the snapshot.
void SnapshotProgressWindow() {
  HWND progress = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindProgressWindow, reinterpret_cast<LPARAM>(&progress));
  if (!progress) {
    Fail("the progress window shown during the transfer", 0, 1);
    return;
  }
  RECT r, outer;
  HWND picture = GetDlgItem(progress, 1117);
  GetClientRect(picture, &r);
  MapWindowPoints(picture, nullptr, reinterpret_cast<POINT*>(&r), 2);
  GetWindowRect(progress, &outer);
  std::printf("progress window: picture %ldx%ld at %ld,%ld\n", r.right - r.left, r.bottom - r.top,
              r.left - outer.left, r.top - outer.top);
  if (!WriteWindowSnapshot(progress, gProgressSnapshot)) Fail("the progress window snapshot", 0, 1);
}

bool PullMemory(Host& host, const TW_IMAGEINFO& info, const std::string& path) {
  TW_SETUPMEMXFER setup = {};
  host.Expect("DAT_SETUPMEMXFER", DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup, TWRC_SUCCESS);
  std::printf("memory set-up: min %lu, max %lu, preferred %lu\n", static_cast<unsigned long>(setup.MinBufSize),
              static_cast<unsigned long>(setup.MaxBufSize), static_cast<unsigned long>(setup.Preferred));
  if (setup.MinBufSize == 0) return false;
  // A handle buffer, as many hosts pass it.
  HGLOBAL buffer = GlobalAlloc(GMEM_MOVEABLE, setup.Preferred);
  std::vector<unsigned char> image(static_cast<size_t>(setup.MinBufSize) * info.ImageLength);
  int blocks = 0;
  bool snapshotTaken = gProgressSnapshot.empty();
  TW_UINT16 rc;
  for (;;) {
    TW_IMAGEMEMXFER block = {};
    block.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_HANDLE, setup.Preferred, buffer};
    rc = host.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &block);
    if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) break;
    if (block.Rows > 0) {
      ++blocks;
      auto* bytes = static_cast<const unsigned char*>(GlobalLock(buffer));
      for (TW_UINT32 i = 0; i < block.Rows; ++i) {
        TW_UINT32 y = block.YOffset + i;
        if (y >= static_cast<TW_UINT32>(info.ImageLength) || block.BytesPerRow != setup.MinBufSize) {
          Fail("memory block row", y, 0);
          break;
        }
        std::memcpy(&image[static_cast<size_t>(y) * block.BytesPerRow], bytes + i * block.BytesPerRow,
                    block.BytesPerRow);
      }
      GlobalUnlock(buffer);
      if (!snapshotTaken && rc == TWRC_SUCCESS && 2 * (block.YOffset + block.Rows) >= info.ImageLength) {
        SnapshotProgressWindow();
        snapshotTaken = true;
      }
    }
    if (rc == TWRC_XFERDONE) break;
  }
  GlobalFree(buffer);
  if (!snapshotTaken) Fail("the progress window snapshot before the last block", 0, 1);
  std::printf("DAT_IMAGEMEMXFER: rc=%u after %d blocks\n", rc, blocks);
  if (rc != TWRC_XFERDONE) {
    Fail("DAT_IMAGEMEMXFER", rc, TWRC_XFERDONE);
    return false;
  }
  return WriteAnymapFile(path, info, image, setup.MinBufSize);
}

// Open, enable in the host's window, press Scan there, then take every image the source has.
void Transfer(Host& host, bool native, bool batch, const std::string& out, const WindowActions& actions) {
  TW_IDENTITY assigned = host.source;
  assigned.Id = 7;
  host.Expect("MSG_OPENDS", DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &assigned, TWRC_SUCCESS);
  SetOneValue(host, "ICAP_XFERMECH set", ICAP_XFERMECH, TWTY_UINT16, native ? TWSX_NATIVE : TWSX_MEMORY);
  TW_USERINTERFACE ui = {};
  if (!actions.choosePath.empty()) {
    gOpenImage.path = WindowsPath(actions.choosePath);
    gOpenImage.expected = true;
  }
  HWND window = EnableInWindow(host, &ui);
  if (!actions.choosePath.empty()) {
    if (!gOpenImage.answered) Fail("the open-image dialog shown at MSG_ENABLEDS", 0, 1);
    gOpenImage.expected = false;
  }
  if (window && actions.prescan) Press(host, window, 1012, true);
  if (window && actions.open) OpenInWindow(host, window, actions.openPath);
  TakeSnapshot(window, actions);
  if (window) {
    if (batch) ChooseScanMode(host, window, kScanModeBatch);
    Press(host, window, 1017, false);
  }
  if (SourceManagerSaw("DAT=0x0000 MSG=0x0101")) {
    std::printf("MSG_XFERREADY seen at the source manager\n");
  } else {
    Fail("MSG_XFERREADY at the source manager", 0, 1);
  }

  int images = 0;
  TW_PENDINGXFERS pending = {};
  do {
    TW_IMAGEINFO info = {};
    if (!AskImageInfo(host, &info)) break;
    std::string path = NumberedPath(out, images + 1);
    bool written = native ? PullNative(host, path) : PullMemory(host, info, path);
    if (!written) {
      Fail("image written", 0, 1);
      break;
    }
    ++images;
    std::printf("image %d written to %s\n", images, path.c_str());
    TW_IMAGEINFO late = {};
    host.Expect("DAT_IMAGEINFO while transferring", DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &late, TWRC_FAILURE);
    host.Expect("MSG_ENDXFER", DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending, TWRC_SUCCESS);
    std::printf("MSG_ENDXFER: count %u\n", pending.Count);
  } while (pending.Count != 0);
  std::printf("images transferred: %d\n", images);

  host.Expect("MSG_DISABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui, TWRC_SUCCESS);
  if (SourceWindow()) Fail("the source's window gone after MSG_DISABLEDS", 0, 1);
  host.Expect("MSG_CLOSEDS", DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &assigned, TWRC_SUCCESS);
  if (ui.hParent) DestroyWindow(static_cast<HWND>(ui.hParent));
}

std::string FileTypeOf(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const std::string extension = dot == std::string::npos ? "" : path.substr(dot);
  if (extension == ".jpg") return "JPEG";
  if (extension == ".eps") return "EPSF";
  return "TIFF";
}

// Open, enable in the host's window, choose the file mode there, press Scan
// and answer the save-as dialog; the source writes the files and hands over no image.
void SaveToFiles(Host& host, bool batch, const std::string& path, const std::string& type,
                 const WindowActions& actions) {
  TW_IDENTITY assigned = host.source;
  assigned.Id = 7;
  host.Expect("MSG_OPENDS", DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &assigned, TWRC_SUCCESS);
  TW_USERINTERFACE ui = {};
  HWND window = EnableInWindow(host, &ui);
  if (window && actions.prescan) Press(host, window, 1012, true);
  TakeSnapshot(window, actions);
  if (window) {
    ChooseScanMode(host, window, batch ? kScanModeBatchFile : kScanModeFile);
    gSaveAs.path = WindowsPath(path);
    gSaveAs.typeName = type.empty() ? FileTypeOf(path) : type;
    Press(host, window, 1017, false);
    if (!gSaveAs.answered) Fail("the save-as dialog shown", 0, 1);
  }
  if (SourceManagerSaw("DAT=0x0000 MSG=0x0101")) Fail("no MSG_XFERREADY in file mode", 1, 0);
  std::printf("scan written to files\n");
  host.Expect("MSG_DISABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui, TWRC_SUCCESS);
  if (SourceWindow()) Fail("the source's window gone after MSG_DISABLEDS", 0, 1);
  host.Expect("MSG_CLOSEDS", DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &assigned, TWRC_SUCCESS);
  if (ui.hParent) DestroyWindow(static_cast<HWND>(ui.hParent));
}

bool Load(Host& host, const char* path) {
  host.module = LoadLibraryA(path);
  if (!host.module) {
    std::printf("cannot load %s (error %lu)\n", path, GetLastError());
    return false;
  }
  host.entry = reinterpret_cast<DSENTRYPROC>(GetProcAddress(host.module, "DS_Entry"));
  if (!host.entry) {
    std::printf("%s has no DS_Entry\n", path);
    FreeLibrary(host.module);
    return false;
  }
  if (host.verbose) std::printf("loaded %s\n", path);
  TW_UINT16 rc = host.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &host.source);
  if (host.verbose) std::printf("DG_CONTROL/DAT_IDENTITY/MSG_GET: rc=%u\n", rc);
  return rc == TWRC_SUCCESS;
}

SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;  // the process's private committed bytes
}

// Loads and unloads the source many times. The system's own caches fill in
// the first rounds; over the second half the memory must stay where it was.
void Loop(Host& host, const char* path, int rounds) {
  host.verbose = false;
  const int warmUp = (rounds + 1) / 2;
  SIZE_T settled = 0;
  for (int round = 1; round <= rounds; ++round) {
    if (!Load(host, path)) {
      std::printf("FAIL round %d: load\n", round);
      ++gFailures;
      return;
    }
    Cycle(host, true);
    FreeLibrary(host.module);
    if (round == warmUp) settled = PrivateBytes();
  }
  long growthKb = static_cast<long>((static_cast<long long>(PrivateBytes()) - settled) / 1024);
  std::printf("loop: %d rounds, private memory %lu KB after round %d, growth since: %ld KB\n", rounds,
              static_cast<unsigned long>(settled / 1024), warmUp, growthKb);
  if (settled == 0) Fail("private memory reading", 0, 1);
  if (growthKb > 1024) Fail("memory growth in KB", static_cast<unsigned>(growthKb), 1024);
}

void CopyText(char (&field)[34], const char* text) {
  std::memset(field, 0, sizeof field);
  std::strncpy(field, text, sizeof field - 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: twainhost <data source> [--product NAME] [--manufacturer NAME] [--cycle] "
                         "[--loop N] [--transfer native|memory] [--batch] [--prescan] [--open PATH] [--choose PATH] "
                         "[--snapshot PATH] [--progress-snapshot PATH] [--cancel] [--close-key] [--resize W H] [--field ID TEXT] "
                         "[--files PATH] [--type NAME] "
                         "[--out PATH]\n");
    return 2;
  }
  Host host;
  host.application.Id = 5;
  host.application.ProtocolMajor = 1;
  host.application.ProtocolMinor = 6;
  host.application.SupportedGroups = DG_CONTROL | DG_IMAGE;
  CopyText(host.application.ProductName, "twainhost");
  CopyText(host.application.Manufacturer, "Quillbrook Tests");
  bool cycle = false;
  bool batch = false;
  bool cancel = false;
  WindowActions actions;
  int rounds = 0;
  const char* transfer = nullptr;
  std::string out;
  std::string files;
  std::string type;
  for (int i = 2; i < argc; ++i) {
    bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--product") == 0 && hasValue) {
      CopyText(host.application.ProductName, argv[++i]);
    } else if (std::strcmp(argv[i], "--manufacturer") == 0 && hasValue) {
      CopyText(host.application.Manufacturer, argv[++i]);
    } else if (std::strcmp(argv[i], "--cycle") == 0) {
      cycle = true;
    } else if (std::strcmp(argv[i], "--loop") == 0 && hasValue) {
      rounds = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--transfer") == 0 && hasValue) {
      transfer = argv[++i];
    } else if (std::strcmp(argv[i], "--batch") == 0) {
      batch = true;
    } else if (std::strcmp(argv[i], "--prescan") == 0) {
      actions.prescan = true;
    } else if (std::strcmp(argv[i], "--resize") == 0 && i + 2 < argc) {
      actions.resizeWidth = std::atoi(argv[++i]);
      actions.resizeHeight = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--field") == 0 && i + 2 < argc) {
      actions.fieldId = std::atoi(argv[++i]);
      actions.fieldText = argv[++i];
    } else if (std::strcmp(argv[i], "--choose") == 0 && i + 1 < argc) {
      actions.choosePath = argv[++i];
    } else if (std::strcmp(argv[i], "--open") == 0 && i + 1 < argc) {
      actions.open = true;
      actions.openPath = argv[++i];
    } else if (std::strcmp(argv[i], "--snapshot") == 0 && hasValue) {
      actions.snapshot = argv[++i];
    } else if (std::strcmp(argv[i], "--progress-snapshot") == 0 && hasValue) {
      gProgressSnapshot = argv[++i];
    } else if (std::strcmp(argv[i], "--cancel") == 0) {
      cancel = true;
    } else if (std::strcmp(argv[i], "--close-key") == 0) {
      cancel = true;
      actions.closeKey = true;
    } else if (std::strcmp(argv[i], "--files") == 0 && hasValue) {
      files = argv[++i];
    } else if (std::strcmp(argv[i], "--type") == 0 && hasValue) {
      type = argv[++i];
    } else if (std::strcmp(argv[i], "--out") == 0 && hasValue) {
      out = argv[++i];
    } else {
      std::fprintf(stderr, "unknown option %s\n", argv[i]);
      return 2;
    }
  }

  CreateThread(nullptr, 0, AnswerMessageBoxes, nullptr, 0, nullptr);
  if (!Load(host, argv[1])) return 1;
  PrintIdentity(host.source);
  if (cycle) Cycle(host, true);
  if (transfer) {
    const bool native = std::strcmp(transfer, "native") == 0;
    if (!native && std::strcmp(transfer, "memory") != 0) {
      std::fprintf(stderr, "--transfer takes native or memory\n");
      return 2;
    }
    Transfer(host, native, batch, out.empty() ? (native ? "received.bmp" : "received.pnm") : out, actions);
  }
  if (!files.empty()) SaveToFiles(host, batch, files, type, actions);
  if (cancel) CancelInWindow(host, actions);
  FreeLibrary(host.module);

  if (rounds > 0) Loop(host, argv[1], rounds);
  if (gFailures == 0 && (cycle || rounds > 0 || transfer || cancel || !files.empty())) std::printf("all answers as expected\n");
  return gFailures == 0 ? 0 : 1;
}
