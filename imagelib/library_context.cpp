// The registry of every thread's context: a thread-local slot, and a list that
// owns the contexts until the program ends (threads may end before it).
#include "imagelib/library_context.h"

#include <forward_list>
#include <memory>
#include <new>

#include "imagelib/imagelib.h"
#include "imagelib/platform.h"

namespace imagelib {

namespace {

class ContextRegistry {
 public:
  ContextRegistry() : slot_(AllocThreadSlot()), lock_(CreateLock()) {}

  ~ContextRegistry() {
    if (slot_ != -1) FreeThreadSlot(slot_);
    if (!lock_) return;
    EnterLock(lock_);
    contexts_.clear();
    LeaveLock(lock_);
    DestroyLock(lock_);
  }

  ContextRegistry(const ContextRegistry&) = delete;
  ContextRegistry& operator=(const ContextRegistry&) = delete;

  LibraryContext* ContextOfThisThread() {
    if (slot_ == -1 || !lock_) return nullptr;
    if (void* value = GetThreadSlot(slot_)) return static_cast<LibraryContext*>(value);
    std::unique_ptr<LibraryContext> context(new (std::nothrow) LibraryContext);
    if (!context || !SetThreadSlot(slot_, context.get())) return nullptr;
    EnterLock(lock_);
    bool listed = Push(std::move(context));
    LeaveLock(lock_);
    if (!listed) {
      SetThreadSlot(slot_, nullptr);
      return nullptr;
    }
    return static_cast<LibraryContext*>(GetThreadSlot(slot_));
  }

 private:
  bool Push(std::unique_ptr<LibraryContext> context) {
    try {
      contexts_.push_front(std::move(context));
      return true;
    } catch (const std::bad_alloc&) {
      return false;
    }
  }

  long slot_;
  PlatformLock* lock_;
  std::forward_list<std::unique_ptr<LibraryContext>> contexts_;  // newest first
};

ContextRegistry& Registry() {
  static ContextRegistry registry;
  return registry;
}

}  // namespace

LibraryContext* GetContext() { return Registry().ContextOfThisThread(); }

void SetLastImageError(int code) {
  if (LibraryContext* context = GetContext()) context->last_error = code;
}

}  // namespace imagelib

extern "C" int GetLastImageError(void) {
  imagelib::LibraryContext* context = imagelib::GetContext();
  return context ? context->last_error : kImageNoContext;
}
