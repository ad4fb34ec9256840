# Cross-build for 32-bit Windows with mingw-w64 (Debian: g++-mingw-w64-i686),
# for the probes whose RFC library is the 32-bit LIBRFC32.dll.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(toolchain_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
