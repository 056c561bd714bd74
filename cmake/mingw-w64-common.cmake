# What both MinGW-w64 toolchains share; the including file sets LVP_MINGW_TRIPLET and
# LVP_WINE_RUN (the script that runs its programs under Wine).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${LVP_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LVP_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${LVP_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LVP_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Everything the binaries need from the compiler's runtime is linked in, so that only
# the system's own DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/${LVP_WINE_RUN}")
