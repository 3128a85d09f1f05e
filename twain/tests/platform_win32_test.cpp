// The source's postings to the source manager, seen by the recording fake
// source manager, and the host's events for the source's windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "state/data_source_state.h"
#include "twain/source_lifecycle.h"
#include "twain/tests/twain_test_support.h"

namespace {

using PlatformTest = TwainModuleTest;

std::string ReadFile(const char* path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(PlatformTest, EachPostingIsOneCallOfTheSourceManager) {
  const char* log = "fakedsm-postings.log";
  std::remove(log);
  SetEnvironmentVariableA("ZIR_FAKEDSM_LOG", log);
  application_ = MakeApplication(11, "Testprogramm");
  BringToState(kStateEnabled);

  AnnounceTransferReady();
  EXPECT_EQ(gTwainState, kStateTransferReady);
  RequestCloseSource();
  EXPECT_EQ(gTwainState, kStateTransferReady);

  EXPECT_EQ(ReadFile(log),
            "DSM_Entry origin=21:Quillbrook ZIR (32 Bit) dest=11:Testprogramm DG=0x1 DAT=0x0000 MSG=0x0101\n"
            "DSM_Entry origin=21:Quillbrook ZIR (32 Bit) dest=11:Testprogramm DG=0x1 DAT=0x0000 MSG=0x0102\n");
}

TEST_F(PlatformTest, EventsOfTheMainWindowAreTheSources) {
  BringToState(kStateEnabled);
  HWND dialog = CreateWindowExA(0, MAKEINTATOM(32770), "Haupt", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  HWND other = CreateWindowExA(0, "STATIC", "Anderes", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(other, nullptr);
  gMainDialog = dialog;

  MSG foreign = {other, WM_USER, 0, 0, 0, {0, 0}};
  TW_EVENT event = {&foreign, 0x4321};
  EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
  EXPECT_EQ(event.TWMessage, 0x4321);

  MSG own = {dialog, WM_USER, 0, 0, 0, {0, 0}};
  event = {&own, 0x4321};
  EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
  EXPECT_EQ(event.TWMessage, MSG_NULL);

  gMainDialog = nullptr;
  gJobManagerWindow = dialog;
  event = {&own, 0x4321};
  EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
  gJobManagerWindow = nullptr;
  DestroyWindow(other);
  DestroyWindow(dialog);
}

}  // namespace
