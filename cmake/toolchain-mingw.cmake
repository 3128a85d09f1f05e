# Windows by mingw-w64 with the posix thread model: i686 for the product
# (toolchain-mingw32.cmake), x86_64 for the tests on machines without 32-bit
# programs (toolchain-mingw64.cmake). Those set ZIR_MINGW_PREFIX and the processor.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ZIR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZIR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZIR_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZIR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
