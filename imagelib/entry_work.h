// The shape every entry point follows: fetch the thread's context, check the
// arguments, do the work under a raised nesting depth with a worker code that
// starts at 0, and copy that code into the context on the way out, so that a
// successful call clears the previous error.
#ifndef IMAGELIB_ENTRY_WORK_H
#define IMAGELIB_ENTRY_WORK_H

#include <cstddef>

#include "imagelib/library_context.h"

namespace imagelib {

// Sets the code of a refused call; the entry point answers 0 or null.
inline int Refuse(LibraryContext& context, int code) {
  context.last_error = code;
  return 0;
}

inline std::nullptr_t RefusePointer(LibraryContext& context, int code) {
  context.last_error = code;
  return nullptr;
}

class EntryWork {
 public:
  explicit EntryWork(LibraryContext& context) : context_(context) { ++context_.depth; }
  ~EntryWork() {
    context_.last_error = error;
    --context_.depth;
  }
  EntryWork(const EntryWork&) = delete;
  EntryWork& operator=(const EntryWork&) = delete;

  LibraryContext& context() { return context_; }

  // Calls the progress callback when this is the outermost call and one is
  // set; a stop sets the stopped code and answers false.
  bool Progress(int done, int total);

  // 1 when no error was set, for the entry points that answer success.
  int Succeeded() const { return error == 0 ? 1 : 0; }

  int error = 0;

 private:
  LibraryContext& context_;
};

}  // namespace imagelib

#endif
