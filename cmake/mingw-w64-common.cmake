# What both mingw-w64 toolchain files share: Debian's cross compiler for TOLVAR_MINGW_TRIPLE (POSIX
# threads), fully static, running what it builds (tests, test discovery) under Wine.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TOLVAR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLVAR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TOLVAR_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLVAR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The build machine's CMake packages (its GoogleTest, for one) are Linux libraries.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe that runs on a bare Windows: no libstdc++, libgcc or winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
