# Toolchain for the Windows x64 build: MinGW-w64 x86_64, posix thread model, tests under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LVP_MINGW_TRIPLET x86_64-w64-mingw32)
set(LVP_WINE_RUN wine-run)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
