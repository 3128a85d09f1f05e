// What acts while a prescan runs, and the modal nesting of the tool windows.
#include <gtest/gtest.h>

#include "ui/main_commands.h"
#include "ui/tool_windows.h"

namespace {

TEST(BusyCommands, OnlyTheCancelCommandsActAndAskARunningPrescanToStop) {
  struct Case {
    uint8_t state;
    int command;
    bool taken;
    uint8_t after;
  } cases[] = {
      {kUiIdle, kCommandCancel, false, kUiIdle},
      {kUiIdle, kCommandScan, false, kUiIdle},
      {kUiPrescanRunning, kCommandCancel, true, kUiCancelRequested},
      {kUiPrescanRunning, kCommandPaletteCancel, true, kUiCancelRequested},
      {kUiPrescanRunning, kCommandCloseKey, true, kUiCancelRequested},
      {kUiPrescanRunning, kCommandScan, true, kUiPrescanRunning},
      {kUiPrescanRunning, kCommandPrescan, true, kUiPrescanRunning},
      {kUiCancelRequested, kCommandCancel, true, kUiCancelRequested},
  };
  for (const Case& c : cases) {
    gUiBusyState = c.state;
    EXPECT_EQ(TakeCommandWhileBusy(c.command), c.taken) << int{c.state} << " " << c.command;
    EXPECT_EQ(gUiBusyState, c.after) << int{c.state} << " " << c.command;
  }
  gUiBusyState = kUiIdle;
}

TEST(ToolWindowNesting, NestedModalsSwitchOnceEachWay) {
  gToolWindowDisableCount = 0;
  EXPECT_FALSE(StepToolWindowNesting(true)) << "an enable without a modal dialog changes nothing";
  EXPECT_EQ(gToolWindowDisableCount, 0);
  EXPECT_TRUE(StepToolWindowNesting(false));
  EXPECT_FALSE(StepToolWindowNesting(false));
  EXPECT_FALSE(StepToolWindowNesting(true));
  EXPECT_TRUE(StepToolWindowNesting(true));
  EXPECT_EQ(gToolWindowDisableCount, 0);
  EXPECT_EQ(ToolWindowCount(true), 7);
  EXPECT_EQ(ToolWindowCount(false), 6);
}

}  // namespace
