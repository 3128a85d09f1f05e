#include "foundation/log/caught_exception.h"

#include <exception>
#include <new>
#include <string>

#include "foundation/log/log_file.h"

namespace {

void LogFailure(const char* where, const char* what) noexcept {
  try {
    LogNote((std::string(where) + ": " + what).c_str());
  } catch (...) {
    // No memory left even for the line: the answer to the caller still goes out.
  }
}

}  // namespace

bool LogCaughtException(const char* where) noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    LogFailure(where, "out of memory");
    return true;
  } catch (const std::exception& error) {
    LogFailure(where, error.what());
  } catch (...) {
    LogFailure(where, "unknown exception");
  }
  return false;
}
