# Cross-builds the same program as a 64-bit Windows .exe with Debian's mingw-w64 (x86_64), tested
# under 64-bit Wine. It is not shipped (the 32-bit .exe runs on every Windows): it lets the Windows
# tests run where 32-bit Wine cannot be installed.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOLVAR_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
