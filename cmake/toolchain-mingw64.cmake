# x86_64 Windows: the test build where 32-bit programs cannot run.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZIR_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
