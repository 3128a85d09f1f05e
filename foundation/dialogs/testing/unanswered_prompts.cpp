// Linked into every test program of the data source: a modal prompt that the
// test did not answer (no ScopedPrompts, or none queued) fails the test with
// its caption and text instead of showing a real box that nobody closes.
#include <gtest/gtest.h>

#include "foundation/dialogs/prompts.h"
#include "foundation/dialogs/testing/scoped_prompts.h"

namespace {

class UnansweredPrompts : public PromptResponder {
 public:
  PromptAnswer Answer(const PromptRequest& request) override {
    ADD_FAILURE() << "unanswered " << ScopedPrompts::Describe(request);
    return PromptAnswer();
  }
};

UnansweredPrompts gUnanswered;
const bool gInstalled = (InstallPromptResponder(&gUnanswered), true);

}  // namespace
