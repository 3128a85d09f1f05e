// The end-of-batch notice: shown with the module's texts, closed by OK.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "foundation/dialogs/prompts.h"
#include "ui/batch_end.h"

namespace {

TEST(BatchEnd, NoticeShowsAndTheSoundIsAResource) {
  EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(kBatchEndSoundId), "WAVE"), nullptr);

  std::atomic<bool> seen{false};
  std::string text;
  // Plays the person who reads the notice and presses OK.
  std::thread reader([&] {
    for (int i = 0; i < 400; ++i) {
      HWND box = FindWindowA("#32770", "Hinweis");
      if (box) {
        char buffer[64] = {};
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        text = buffer;
        seen = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(25);
    }
    // No notice within 10 s: the box would wait for ever.
    ExitProcess(3);
  });
  // The real box, not the test programs' answer to unexpected prompts.
  PromptResponder* const testDefault = InstalledPromptResponder();
  InstallPromptResponder(nullptr);
  AnnounceBatchEnd();
  InstallPromptResponder(testDefault);
  reader.join();
  EXPECT_TRUE(seen);
  EXPECT_EQ(text, "Stapel Ende.");
}

}  // namespace
