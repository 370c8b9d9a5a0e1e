# Cross-builds the 32-bit Windows program, the one that ships, with Debian's mingw-w64 (i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOLVAR_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
