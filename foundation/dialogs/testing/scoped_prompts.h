// Plays the person at the modal prompts of a test: queue the answers in the
// order the code will ask, run the code, then look at what was asked.
//
//   ScopedPrompts prompts;
//   prompts.Accept(PromptKind::kName, "Rahmen 1");
//   prompts.Reply(kAnswerYes);                      // the next message box
//   ... code under test ...
//   EXPECT_EQ(prompts.Asked(0).text, "Name der Rahmeneinstellung:");
//
// A prompt of another kind than the next queued answer, or one with nothing
// queued, fails the test and is answered as cancelled. Answers still queued
// at the end of the scope fail the test too.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "foundation/dialogs/prompts.h"

class ScopedPrompts : public PromptResponder {
 public:
  ScopedPrompts() : previous_(InstalledPromptResponder()) { InstallPromptResponder(this); }
  ~ScopedPrompts() override {
    InstallPromptResponder(previous_);
    for (const Queued& left : queued_) {
      ADD_FAILURE() << "a " << PromptKindName(left.kind) << " prompt was expected but never asked";
    }
  }
  ScopedPrompts(const ScopedPrompts&) = delete;
  ScopedPrompts& operator=(const ScopedPrompts&) = delete;

  // OK with the value (a name, a folder or a file path).
  ScopedPrompts& Accept(PromptKind kind, const std::string& value, int filterIndex = 1) {
    PromptAnswer answer;
    answer.result = kAnswerOk;
    answer.value = value;
    answer.filterIndex = filterIndex;
    queued_.push_back({kind, answer});
    return *this;
  }
  // The dialog is cancelled.
  ScopedPrompts& Cancel(PromptKind kind) {
    queued_.push_back({kind, PromptAnswer()});
    return *this;
  }
  // The next message box is answered with the button (kAnswerOk, kAnswerYes, ...).
  ScopedPrompts& Reply(int button) {
    PromptAnswer answer;
    answer.result = button;
    queued_.push_back({PromptKind::kMessageBox, answer});
    return *this;
  }

  // The next popup menu is answered with the command (0: dismissed).
  ScopedPrompts& Choose(uint32_t command) {
    PromptAnswer answer;
    answer.result = static_cast<int>(command);
    queued_.push_back({PromptKind::kPopupMenu, answer});
    return *this;
  }

  // Every prompt asked so far, in order.
  const std::vector<PromptRequest>& Asked() const { return asked_; }
  const PromptRequest& Asked(size_t index) const {
    static const PromptRequest none;
    if (index < asked_.size()) return asked_[index];
    ADD_FAILURE() << "prompt " << index << " was never asked (" << asked_.size() << " asked)";
    return none;
  }
  size_t Pending() const { return queued_.size(); }

  PromptAnswer Answer(const PromptRequest& request) override {
    asked_.push_back(request);
    if (queued_.empty()) {
      ADD_FAILURE() << "unexpected " << Describe(request);
      return PromptAnswer();
    }
    Queued next = queued_.front();
    if (next.kind != request.kind) {
      ADD_FAILURE() << "a " << PromptKindName(next.kind) << " prompt was expected, got " << Describe(request);
      return PromptAnswer();
    }
    queued_.pop_front();
    return next.answer;
  }

  static std::string Describe(const PromptRequest& request) {
    return std::string(PromptKindName(request.kind)) + " prompt \"" + request.title + "\": \"" + request.text +
           "\" (proposed \"" + request.initial + "\")";
  }

 private:
  struct Queued {
    PromptKind kind;
    PromptAnswer answer;
  };
  PromptResponder* previous_;
  std::deque<Queued> queued_;
  std::vector<PromptRequest> asked_;
};
