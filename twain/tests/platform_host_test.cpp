// The source's postings to the source manager and the host's events for the
// source's windows, as the host checks' stand-in records them.
#include <gtest/gtest.h>

#include "state/data_source_state.h"
#include "twain/host/platform_host.h"
#include "twain/source_lifecycle.h"
#include "twain/tests/twain_test_support.h"

namespace {

using PlatformTest = TwainModuleTest;

TEST_F(PlatformTest, EachPostingIsOneCallOfTheSourceManager) {
  HostPostedMessages().clear();
  BringToState(kStateEnabled);

  AnnounceTransferReady();
  EXPECT_EQ(gTwainState, kStateTransferReady);
  RequestCloseSource();
  EXPECT_EQ(gTwainState, kStateTransferReady);

  const auto& posted = HostPostedMessages();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].originId, 21u);
  EXPECT_EQ(posted[0].destinationId, 11u);
  EXPECT_EQ(posted[0].message, MSG_XFERREADY);
  EXPECT_EQ(posted[1].message, MSG_CLOSEDSREQ);
}

TEST_F(PlatformTest, EventsOfTheMainWindowAreTheSources) {
  BringToState(kStateEnabled);
  int dialog, other;
  gMainDialog = &dialog;
  TW_EVENT event = {&other, 0x4321};
  EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
  EXPECT_EQ(event.TWMessage, 0x4321);
  event = {&dialog, 0x4321};
  EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
  EXPECT_EQ(event.TWMessage, MSG_NULL);
  gMainDialog = nullptr;
  gJobManagerWindow = &dialog;
  event = {&dialog, 0x4321};
  EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
}

}  // namespace
