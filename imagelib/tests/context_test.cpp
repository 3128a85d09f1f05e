// The per-thread context: each thread's last error is its own, every call
// leaves its code (a success clears the previous error), and progress reaches
// the callback only from the outermost call.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/library_context.h"

using imagelib::GetContext;
using imagelib::LibraryContext;

namespace {

const uint8_t kPixel[3] = {10, 20, 30};

int FailWithBadArgument() { return ConvertRgbToGrey(nullptr, 1, 1, nullptr); }

int Succeed() {
  uint8_t grey = 0;
  return ConvertRgbToGrey(kPixel, 1, 1, &grey);
}

TEST(LibraryContext, StartsWithTheDefaults) {
  std::thread([] {
    EXPECT_EQ(GetLastImageError(), kImageOk);
    LibraryContext* context = GetContext();
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->depth, 0);
    EXPECT_EQ(context->progress, nullptr);
    EXPECT_EQ(context->png.screen_gamma, 2.9);
    EXPECT_EQ(context->png.gamma_correction, 1);
    EXPECT_EQ(context->jpeg.sampling_enabled, 0);
    EXPECT_EQ(context->jpeg.sampling_slots, 10);
    for (int i = 0; i < imagelib::kJpegSamplingSlots; ++i) {
      EXPECT_EQ(context->jpeg.horizontal_sampling[i], 1);
      EXPECT_EQ(context->jpeg.vertical_sampling[i], 1);
    }
  }).join();
}

TEST(LibraryContext, SuccessClearsThePreviousError) {
  EXPECT_EQ(FailWithBadArgument(), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(Succeed(), 1);
  EXPECT_EQ(GetLastImageError(), kImageOk);
}

TEST(LibraryContext, ThreadsKeepTheirOwnErrors) {
  FailWithBadArgument();
  int other_before = -1;
  int other_after = -1;
  std::thread([&] {
    other_before = GetLastImageError();
    OpenFileSource("no such file.bmp");
    other_after = GetLastImageError();
  }).join();
  EXPECT_EQ(other_before, kImageOk);
  EXPECT_EQ(other_after, kImageCannotOpen);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
}

TEST(LibraryContext, ManyThreadsEachGetAContext) {
  std::vector<std::thread> threads;
  std::vector<int> seen(8, -1);
  for (size_t i = 0; i < seen.size(); ++i)
    threads.emplace_back([&seen, i] {
      if (i % 2) FailWithBadArgument();
      seen[i] = GetLastImageError();
    });
  for (std::thread& t : threads) t.join();
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], i % 2 ? kImageBadArgument : kImageOk);
}

struct ProgressLog {
  std::vector<int> done;
  int stop_at = -1;
  bool call_inner = false;
};

int RecordProgress(int done, int, void* user_data) {
  auto* log = static_cast<ProgressLog*>(user_data);
  log->done.push_back(done);
  if (log->call_inner) {
    log->call_inner = false;
    uint8_t rgb[2 * 3] = {};
    uint8_t grey[2] = {};
    ConvertRgbToGrey(rgb, 1, 2, grey);  // nested at depth 2: reports nothing
  }
  return done == log->stop_at ? 0 : 1;
}

class Progress : public ::testing::Test {
 protected:
  void SetUp() override {
    context_ = GetContext();
    context_->progress = RecordProgress;
    context_->progress_user_data = &log_;
  }
  void TearDown() override {
    context_->progress = nullptr;
    context_->progress_user_data = nullptr;
  }

  LibraryContext* context_ = nullptr;
  ProgressLog log_;
  uint8_t rgb_[4 * 3] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  uint8_t grey_[4] = {};
};

TEST_F(Progress, ReportsEachRowOfTheOutermostCall) {
  log_.call_inner = true;
  EXPECT_EQ(ConvertRgbToGrey(rgb_, 1, 4, grey_), 1);
  EXPECT_EQ(log_.done, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(context_->depth, 0);
}

TEST_F(Progress, AStopEndsTheCallWithCode14) {
  log_.stop_at = 1;
  EXPECT_EQ(ConvertRgbToGrey(rgb_, 1, 4, grey_), 0);
  EXPECT_EQ(GetLastImageError(), kImageStopped);
  EXPECT_EQ(log_.done, (std::vector<int>{0, 1}));
  EXPECT_EQ(context_->depth, 0);
}

}  // namespace
