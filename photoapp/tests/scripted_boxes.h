// Plays the person at the photo program's message boxes in a test: queue the
// buttons in the order the boxes come, run the code, look at what was shown.
// A box with nothing queued fails the test; so do answers left at the end.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "photoapp/window/message_box.h"

class ScriptedBoxes : public MessageBoxResponder {
 public:
  ScriptedBoxes() { InstallMessageBoxResponder(this); }
  ~ScriptedBoxes() override {
    InstallMessageBoxResponder(nullptr);
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " box(es) expected but never shown";
  }
  ScriptedBoxes(const ScriptedBoxes&) = delete;
  ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

  void Reply(int button) { answers_.push_back(button); }
  const std::vector<MessageBoxRequest>& Shown() const { return shown_; }

  int Answer(const MessageBoxRequest& request) override {
    shown_.push_back(request);
    if (answers_.empty()) {
      ADD_FAILURE() << "unanswered box \"" << request.caption << "\": \"" << request.text << "\"";
      return IDCANCEL;
    }
    const int button = answers_.front();
    answers_.pop_front();
    return button;
  }

 private:
  std::deque<int> answers_;
  std::vector<MessageBoxRequest> shown_;
};
