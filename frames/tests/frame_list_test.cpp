// The frame list: moving a frame to the head, removing, duplicating,
// counting, names, and the rectangle limits.
#include <gtest/gtest.h>

#include <vector>

#include "frames/frame_limits.h"
#include "frames/frame_list.h"
#include "frame_store_fixture.h"

namespace {

class FrameListTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gScanAreaInches = {8.0, 10.0};
  }
  void TearDown() override {
    DeleteAllFrames();
    ResetDataSourceState();
  }
};

FrameListNode* NodeAt(int position) {
  FrameListNode* node = FrameListHead();
  for (int i = 1; node && i < position; ++i) node = node->next;
  return node;
}

struct CurrentCase {
  uint16_t position;
  int byNode;  // 1-based node to pass with position 0; 0 passes none
  std::vector<int> expected;
};

class MakeFrameCurrentCases : public FrameListTest, public testing::WithParamInterface<CurrentCase> {};

TEST_P(MakeFrameCurrentCases, MovesTheNodeToTheHead) {
  AppendFrames({1, 2, 3, 4, 5});
  const CurrentCase& c = GetParam();
  MakeFrameCurrent(c.position, c.byNode ? NodeAt(c.byNode) : nullptr);
  EXPECT_EQ(ListTags(), c.expected);
  EXPECT_EQ(gCurrentFrame, &FrameListHead()->frame);
}

INSTANTIATE_TEST_SUITE_P(Positions, MakeFrameCurrentCases,
                         testing::Values(CurrentCase{1, 0, {1, 2, 3, 4, 5}}, CurrentCase{2, 0, {2, 1, 3, 4, 5}},
                                         CurrentCase{3, 0, {3, 1, 2, 4, 5}}, CurrentCase{5, 0, {5, 1, 2, 3, 4}},
                                         CurrentCase{9, 0, {5, 1, 2, 3, 4}}, CurrentCase{0, 4, {4, 1, 2, 3, 5}},
                                         CurrentCase{0, 1, {1, 2, 3, 4, 5}}, CurrentCase{0, 0, {1, 2, 3, 4, 5}}));

TEST_F(FrameListTest, ANodeOutsideTheListChangesNothing) {
  AppendFrames({1, 2, 3});
  FrameListNode* stranger = NewFrameNode(TestFrame(9));
  MakeFrameCurrent(0, stranger);
  EXPECT_EQ(ListTags(), (std::vector<int>{1, 2, 3}));
  FreeBlock(stranger);
}

TEST_F(FrameListTest, RemovingTheCurrentFrameMakesTheNextCurrent) {
  AppendFrames({1, 2, 3});
  RemoveCurrentFrame();
  EXPECT_EQ(ListTags(), (std::vector<int>{2, 3}));
  EXPECT_EQ(gCurrentFrame->outputResolution, 102);
  DeleteAllFrames();
  EXPECT_EQ(gCurrentFrame, nullptr);
  RemoveCurrentFrame();  // an empty list stays empty
  EXPECT_EQ(CountFrames(), 0);
}

TEST_F(FrameListTest, DuplicateGoesBehindTheHeadWithoutItsName) {
  EXPECT_EQ(DuplicateCurrentFrame(), nullptr);
  AppendFrames({1, 2});
  NameFrame(gCurrentFrame, "Dia");
  FrameListNode* copy = DuplicateCurrentFrame();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(ListTags(), (std::vector<int>{1, 1, 2}));
  EXPECT_EQ(NodeAt(2), copy);
  EXPECT_EQ(copy->frame.hasName, 0);
  EXPECT_EQ(gCurrentFrame->hasName, 1);
  EXPECT_EQ(copy->frame.originX, gCurrentFrame->originX);
}

TEST_F(FrameListTest, CountsAndCopiesTheNthFrame) {
  AppendFrames({1, 2, 3});
  EXPECT_EQ(CountFrames(), 3);
  FrameRecord out = TestFrame(9);
  EXPECT_TRUE(CopyNthFrame(3, &out));
  EXPECT_EQ(out.outputResolution, 103);
  for (uint16_t n : {0, 4}) {
    out = TestFrame(9);
    EXPECT_FALSE(CopyNthFrame(n, &out)) << n;
    EXPECT_EQ(out.outputResolution, 109) << n;
  }
}

TEST_F(FrameListTest, ResetCoversTheWholeScanArea) {
  AppendFrames({1});
  ResetFrameToFullArea();
  EXPECT_EQ(gCurrentFrame->originX, 0.0);
  EXPECT_EQ(gCurrentFrame->originY, 0.0);
  EXPECT_EQ(gCurrentFrame->width, 8.0);
  EXPECT_EQ(gCurrentFrame->height, 10.0);
}

struct NamesCase {
  std::vector<const char*> names;  // null: an unnamed frame
  std::vector<const char*> expected;
};

class CheckFrameNamesCases : public FrameListTest, public testing::WithParamInterface<NamesCase> {};

TEST_P(CheckFrameNamesCases, TheFrameNearerTheHeadKeepsTheName) {
  const NamesCase& c = GetParam();
  for (size_t i = 0; i < c.names.size(); ++i) {
    FrameRecord frame = TestFrame(static_cast<int>(i));
    if (c.names[i]) NameFrame(&frame, c.names[i]);
    AppendFrameNode(NewFrameNode(frame));
  }
  CheckFrameNames();
  FrameListNode* node = FrameListHead();
  for (const char* expected : c.expected) {
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->frame.hasName != 0, expected != nullptr);
    EXPECT_STREQ(node->frame.name, expected ? expected : "");
    node = node->next;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, CheckFrameNamesCases,
    testing::Values(NamesCase{{"A", "A"}, {"A", nullptr}}, NamesCase{{"A", "B", "A", "A"}, {"A", "B", nullptr, nullptr}},
                    NamesCase{{"A", "a"}, {"A", "a"}}, NamesCase{{nullptr, "A", "A"}, {nullptr, "A", nullptr}}));

TEST_F(FrameListTest, AnUnflaggedFrameDoesNotHoldItsNameText) {
  FrameRecord first = TestFrame(1);
  NameFrame(&first, "A");
  first.hasName = 0;
  FrameRecord second = TestFrame(2);
  NameFrame(&second, "A");
  AppendFrameNode(NewFrameNode(first));
  AppendFrameNode(NewFrameNode(second));
  EXPECT_FALSE(IsFrameNameUsed(&NodeAt(2)->frame, "A"));
  EXPECT_TRUE(IsFrameNameUsed(nullptr, "A"));
  EXPECT_FALSE(IsFrameNameUsed(&NodeAt(1)->frame, "A"));
}

struct LimitCase {
  double in[4];  // x, y, width, height
  int handle;
  double out[4];
  bool changed;
};

class LimitFrameRectCases : public FrameListTest, public testing::WithParamInterface<LimitCase> {};

TEST_P(LimitFrameRectCases, KeepsTheRectangleInTheScanArea) {
  const LimitCase& c = GetParam();
  double r[4] = {c.in[0], c.in[1], c.in[2], c.in[3]};
  EXPECT_EQ(LimitFrameRect(&r[0], &r[1], &r[2], &r[3], c.handle), c.changed);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(r[i], c.out[i], 1e-9) << i;
}

// Scan area 8 x 10 inches: the smallest frame is 0.08 x 0.1; a move of
// 0.000001 or less does not count as a change.
INSTANTIATE_TEST_SUITE_P(
    Rectangles, LimitFrameRectCases,
    testing::Values(LimitCase{{1, 1, 2, 3}, kNoFrameHandle, {1, 1, 2, 3}, false},
                    LimitCase{{1, 1, 0.01, 0.01}, kNoFrameHandle, {1, 1, 0.08, 0.1}, true},
                    LimitCase{{1, 1, 0.01, 0.01}, 1, {0.93, 0.91, 0.08, 0.1}, true},
                    LimitCase{{-1, -2, 3, 4}, kNoFrameHandle, {0, 0, 3, 4}, true},
                    LimitCase{{-1, -2, 3, 4}, 1, {0, 0, 2, 2}, true},
                    LimitCase{{-1, 1, 3, 4}, 8, {0, 1, 2, 4}, true},
                    LimitCase{{0, 0, 9, 12}, kNoFrameHandle, {0, 0, 8, 10}, true},
                    LimitCase{{7, 9, 2, 2}, kNoFrameHandle, {7, 9, 1, 1}, true},
                    LimitCase{{1, 1, 0.0799995, 3}, kNoFrameHandle, {1, 1, 0.08, 3}, false}));

}  // namespace
