# Toolchain for the Windows x86 build (32-bit hosts): MinGW-w64 i686, posix thread model, tests
# under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(LVP_MINGW_TRIPLET i686-w64-mingw32)
set(LVP_WINE_RUN wine-run32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
