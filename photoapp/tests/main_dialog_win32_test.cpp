// The main dialog run modally under Wine, with the person played by a script
// of steps that a timer runs inside the dialog's own loops (and the nested
// ones of the quality box and the About box); the file choosers and the
// message boxes are answered through their seams. Covers what the
// end-to-end run cannot see: the status texts on their way, the overwrite
// question, the quality mapping, a cancelled save, a failed load and the
// dialog without an image.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "photoapp/dialogs/main_dialog.h"
#include "photoapp/resource.h"
#include "photoapp/tests/document_fixture.h"
#include "photoapp/tests/scripted_boxes.h"
#include "photoapp/window/app.h"
#include "photoapp/window/file_dialog.h"

namespace {

// The application's profile under a key of the tests' own.
class TestApp : public WinApp {
 public:
  TestApp() : WinApp("PhotoRefiner") {
    // As the program's start: the trackbar and progress classes.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    SetRegistryKey("PicRefinerTests");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\PicRefinerTests\\PhotoRefiner\\Settings");
  }

 protected:
  bool InitInstance() override { return false; }
};

// Answers the file choosers in turn with the queued paths ("" cancels).
class ScriptedChoosers : public FileDialogResponder {
 public:
  ScriptedChoosers() { InstallFileDialogResponder(this); }
  ~ScriptedChoosers() override { InstallFileDialogResponder(nullptr); }
  bool Answer(const FileDialogRequest& request, std::string* path) override {
    titles.push_back(request.title);
    if (paths.empty()) {
      ADD_FAILURE() << "unanswered chooser \"" << request.title << "\"";
      return false;
    }
    *path = paths.front();
    paths.pop_front();
    return !path->empty();
  }
  std::deque<std::string> paths;
  std::vector<std::string> titles;
};

// How deep the dialog is in handling a person's action (a command, a system
// command, a scroll): the flows pump messages, so a timer tick can come in
// the middle of one.
int gBusy = 0;
WNDPROC gDialogProc = nullptr;
LRESULT CALLBACK CountBusy(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const bool action = message == WM_COMMAND || message == WM_SYSCOMMAND || message == WM_HSCROLL;
  gBusy += action;
  const LRESULT result = CallWindowProcA(gDialogProc, hwnd, message, wparam, lparam);
  gBusy -= action;
  return result;
}

// Records every text the status line is given.
std::vector<std::string> gStatusTexts;
WNDPROC gStatusProc = nullptr;
LRESULT CALLBACK RecordStatus(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SETTEXT) gStatusTexts.push_back(reinterpret_cast<const char*>(lparam));
  return CallWindowProcA(gStatusProc, hwnd, message, wparam, lparam);
}

// One action of the person: at rest, or once the box with that caption is open.
struct Step {
  // Implicit, so that a plain action reads as a step in the lists.
  template <typename Action>
  Step(Action act) : act(std::move(act)) {}  // NOLINT(google-explicit-constructor)
  Step(const char* box, std::function<void()> act) : box(box), act(std::move(act)) {}
  const char* box = nullptr;
  std::function<void()> act;
};

// The steps, run by a timer inside the dialog's loop and the nested loops of
// its boxes, each when it is due. The last step closes the dialog.
class Script {
 public:
  static Script* current;
  explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) { current = this; }
  ~Script() { current = nullptr; }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!current || current->next_ >= current->steps_.size()) return;
    const Step& step = current->steps_[current->next_];
    if (step.box ? FindWindowA(nullptr, step.box) == nullptr : gBusy > 0) return;
    ++current->next_;
    step.act();
  }

 private:
  std::vector<Step> steps_;
  size_t next_ = 0;
};
Script* Script::current = nullptr;

class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { gStatusTexts.clear(); }

  // Runs the dialog with the steps; a first step starts watching the dialog and its status line.
  void Run(std::vector<Step> steps) {
    steps.insert(steps.begin(), Step([this] {
      gDialogProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(dialog_.GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountBusy)));
      gStatusProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(dialog_.GetDlgItem(IDC_STATUS), GWLP_WNDPROC,
                                                                 reinterpret_cast<LONG_PTR>(&RecordStatus)));
    }));
    steps.push_back([this] { Post(IDOK); });
    Script script(std::move(steps));
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &Script::Tick);
    EXPECT_EQ(dialog_.DoModal(), IDOK);
    KillTimer(nullptr, timer);
  }

  void Post(int id) {
    PostMessageA(dialog_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog_.GetDlgItem(id)));
  }
  std::string Title() const { return dialog_.GetWindowText(); }

  // The quality box of this thread, answered: a choice and Save, or closed.
  static Step AnswerQuality(int choice, std::vector<int>* seen = nullptr) {
    return Step("JPG Quality", [choice, seen] {
      HWND box = FindWindowA(nullptr, "JPG Quality");
      for (int id = IDC_QUALITY_MAXIMUM; id <= IDC_QUALITY_LOW && seen; ++id)
        if (SendDlgItemMessageA(box, id, BM_GETCHECK, 0, 0) == BST_CHECKED) seen->push_back(id - IDC_QUALITY_MAXIMUM);
      if (choice < 0) {
        PostMessageA(box, WM_CLOSE, 0, 0);
        return;
      }
      SendDlgItemMessageA(box, IDC_QUALITY_MAXIMUM + choice, BM_CLICK, 0, 0);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
  }

  TestApp app_;
  ScriptedChoosers choosers_;
  MainDialog dialog_;
};

std::string SavePattern(const std::string& path, int width = 120, int height = 90) {
  ImageDocument document;
  FillPattern(document, width, height);
  EXPECT_EQ(document.SaveFile(path, 6, 0, false), kImageOk);
  return path;
}

Bytes ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Whether the texts come in this order, others between them allowed.
bool InOrder(const std::vector<std::string>& texts, const std::vector<std::string>& wanted) {
  auto at = texts.begin();
  for (const std::string& text : wanted) {
    at = std::find(at, texts.end(), text);
    if (at == texts.end()) return false;
    ++at;
  }
  return true;
}

// The full-size result the dialog saves with its default positions, written by the document itself.
Bytes ExpectedJpeg(const std::string& loaded, int quality) {
  ImageDocument document;
  EXPECT_EQ(document.LoadFile(loaded), kImageOk);
  struct Quiet : EnhancementObserver {
    void SetProgress(int) override {}
    void SetStatus(const std::string&) override {}
  } quiet;
  EnhanceDocument(document, EnhancementSettings(), true, quiet);
  EXPECT_EQ(document.SaveFile("expected.jpg", 1, quality, true), kImageOk);
  return ReadFile("expected.jpg");
}

TEST_F(MainDialogTest, LoadAndJpegSavesShowTheirTextsAndWriteTheChosenQuality) {
  const std::string photo = SavePattern("flows.bmp");
  choosers_.paths = {photo, "quality_0.jpg", "quality_1.jpg", "quality_2.jpg", "quality_3.jpg"};
  std::vector<int> preselected;
  std::string title;
  std::vector<Step> steps = {Step([this] { Post(IDC_LOAD); }), Step([this, &title] { title = Title(); })};
  for (int choice = 0; choice < 4; ++choice) {
    steps.push_back(Step([this] { Post(IDC_SAVE); }));
    steps.push_back(AnswerQuality(choice, &preselected));
  }
  Run(steps);

  EXPECT_EQ(choosers_.titles, (std::vector<std::string>{"Load image file", "Save current image to this file",
                                                        "Save current image to this file",
                                                        "Save current image to this file",
                                                        "Save current image to this file"}));
  EXPECT_EQ(title, "PicRefine : flows.bmp");
  EXPECT_TRUE(InOrder(gStatusTexts, {"Formatting for display", "Working on preview...", "Done...", "Saving image",
                                     "Working on Original...", "Saving", "OK", "Back to Fit...", "Done..."}));
  // Each save starts from the choice the one before stored.
  EXPECT_EQ(preselected, (std::vector<int>{1, 0, 1, 2}));
  EXPECT_EQ(app_.GetProfileInt("Settings", "jpgq", -1), 3);
  EXPECT_EQ(app_.GetProfileInt("Settings", "downs", -1), -1);
  const int qualities[] = {100, 85, 72, 55};
  for (int choice = 0; choice < 4; ++choice)
    EXPECT_EQ(ReadFile("quality_" + std::to_string(choice) + ".jpg"), ExpectedJpeg(photo, qualities[choice]))
        << "choice " << choice;
}

TEST_F(MainDialogTest, SavingUnderTheLoadedPathAsksFirst) {
  const std::string photo = SavePattern("original.bmp");
  const Bytes original = ReadFile(photo);
  ScriptedBoxes boxes;
  boxes.Reply(IDNO);
  boxes.Reply(IDYES);
  // The same path in other letters, refused and then confirmed.
  choosers_.paths = {photo, "ORIGINAL.BMP", "Original.bmp"};
  Run({[this] { Post(IDC_LOAD); }, [this] { Post(IDC_SAVE); }, [this] { Post(IDC_SAVE); }});
  ASSERT_EQ(boxes.Shown().size(), 2u);
  EXPECT_EQ(boxes.Shown()[0].text,
            "It is not recommended to overwrite the original file.\n\nAre you absolutly sure you want to replace the "
            "original file?\nIf you click Yes, the original file will be replaced.");
  EXPECT_EQ(boxes.Shown()[0].style & 0xF, static_cast<UINT>(MB_YESNO));
  EXPECT_NE(ReadFile(photo), original);
  EXPECT_EQ(std::count(gStatusTexts.begin(), gStatusTexts.end(), "Saving"), 1);
}

TEST_F(MainDialogTest, ClosingTheQualityBoxSavesNothing) {
  choosers_.paths = {SavePattern("closed.bmp"), "closed.jpg"};
  DeleteFileA("closed.jpg");
  Run({[this] { Post(IDC_LOAD); }, [this] { Post(IDC_SAVE); }, AnswerQuality(-1)});
  EXPECT_EQ(GetFileAttributesA("closed.jpg"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(std::find(gStatusTexts.begin(), gStatusTexts.end(), "Saving image"), gStatusTexts.end());
  EXPECT_EQ(app_.GetProfileInt("Settings", "jpgq", -1), -1);
}

// A file of an extension the program does not read loads nothing: the load
// fails, the title names it, and the loaded path stays the earlier file's.
TEST_F(MainDialogTest, AFileOfAnUnknownExtensionIsAFailedLoad) {
  const std::string photo = SavePattern("kept.bmp");
  CopyFileA(photo.c_str(), "other.pax", FALSE);
  ScriptedBoxes boxes;
  boxes.Reply(IDNO);
  choosers_.paths = {photo, "other.pax", photo};
  std::string title;
  size_t texts_before = 0;
  Run({[this] { Post(IDC_LOAD); },
       [&] { texts_before = gStatusTexts.size(); Post(IDC_LOAD); },
       [&] { title = Title(); Post(IDC_SAVE); }});
  EXPECT_EQ(title, "PicRefine : other.pax");
  // No "Working on Original...": the overwrite question came first and was refused.
  ASSERT_EQ(boxes.Shown().size(), 1u);
  const std::vector<std::string> second_load(gStatusTexts.begin() + texts_before, gStatusTexts.end());
  EXPECT_TRUE(InOrder(second_load, {"Formatting for display", "", "Working on preview...", "Done...", "Saving image"}));
  EXPECT_EQ(std::find(second_load.begin(), second_load.end(), "Adjusting Midtones..."), second_load.end());
}

TEST_F(MainDialogTest, WithoutAnImageApplyEndsWithDoneAndAReleasedSliderDoesNothing) {
  int progress = -1;
  size_t texts_after_apply = 0;
  Run({[this] { Post(IDC_APPLY); },
       [&] {
         progress = static_cast<int>(SendMessageA(dialog_.GetDlgItem(IDC_PROGRESS), PBM_GETPOS, 0, 0));
         texts_after_apply = gStatusTexts.size();
         SendMessageA(dialog_.GetSafeHwnd(), WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0),
                      reinterpret_cast<LPARAM>(dialog_.GetDlgItem(IDC_MIDTONES)));
       },
       [this] { Post(IDC_CLOSE_UP); }});
  EXPECT_EQ(progress, 0);
  ASSERT_GE(texts_after_apply, 1u);
  EXPECT_EQ(gStatusTexts[texts_after_apply - 1], "Done...");
  // The slider added nothing; the radio button ran the pipeline once more.
  EXPECT_EQ(gStatusTexts.size(), texts_after_apply + 1);
}

TEST_F(MainDialogTest, SettingsAreReadAtStartAndWrittenAtTheEnd) {
  app_.WriteProfileInt("Settings", "gamma", 77);
  app_.WriteProfileInt("Settings", "satur", 390);
  std::vector<int> shown;
  Run({[&] {
         for (int id : {IDC_DENOISE, IDC_DETAILS, IDC_MIDTONES, IDC_AUTO_BALANCE, IDC_COLOUR})
           shown.push_back(static_cast<int>(SendMessageA(dialog_.GetDlgItem(id), TBM_GETPOS, 0, 0)));
         SendMessageA(dialog_.GetDlgItem(IDC_DENOISE), TBM_SETPOS, TRUE, 33);
       }});
  EXPECT_EQ(shown, (std::vector<int>{60, 10, 77, 200, 390}));
  EXPECT_EQ(app_.GetProfileInt("Settings", "denoise", -1), 33);
  EXPECT_EQ(app_.GetProfileInt("Settings", "sharpen", -1), 10);
  EXPECT_EQ(app_.GetProfileInt("Settings", "autobr", -1), 200);
}

TEST_F(MainDialogTest, SystemMenuCommand16OpensTheAboutBox) {
  std::string menu_text;
  bool about_seen = false;
  Run({[&] {
         char text[64] = {};
         GetMenuStringA(GetSystemMenu(dialog_.GetSafeHwnd(), FALSE), IDM_ABOUTBOX, text, sizeof text, MF_BYCOMMAND);
         menu_text = text;
         PostMessageA(dialog_.GetSafeHwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
       },
       Step("About PhotoRefiner", [&] {
         about_seen = true;
         PostMessageA(FindWindowA(nullptr, "About PhotoRefiner"), WM_COMMAND, IDOK, 0);
       })});
  EXPECT_EQ(menu_text, "&About PhotoRefiner...");
  EXPECT_TRUE(about_seen);
}

}  // namespace
