# i686 Windows: the product.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZIR_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
