// Nothing may unwind out of a function the host or the system calls into the
// module (DS_Entry, window, dialog and hook procedures): an exception there
// would end the host application. Such a boundary catches everything and, in
// its catch (...) block, calls LogCaughtException for a log line and the kind
// of failure to answer.
#pragma once

// Call only inside a catch block. True when the exception was a memory shortage.
bool LogCaughtException(const char* where) noexcept;

// The body's answer, or failure (with its log line) when the body throws: the
// whole of a window, dialog or hook procedure of the module.
template <typename Result, typename Body>
Result GuardedCallback(const char* where, Result failure, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    LogCaughtException(where);
    return failure;
  }
}
