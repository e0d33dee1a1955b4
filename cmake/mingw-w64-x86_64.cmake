# Cross-builds Dalmerin for 64-bit Windows with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64), against the static Qt for MinGW that
# tools/build-qt-mingw.sh builds (its folder in CMAKE_PREFIX_PATH). The
# executables are linked statically, so they run under Wine or on Windows
# without any MinGW runtime or Qt library beside them. Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix thread model: the win32 one lacks the std::thread Qt 6 needs.
set(DALMERIN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DALMERIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DALMERIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${DALMERIN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DALMERIN_MINGW_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The header-only JSON library of the build machine serves the cross build as
# well, through a package file that exposes only its own headers (the build
# machine's /usr/include must never reach the Windows compiler).
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-packages)

# Qt is built with a section per function and per datum, and so is the
# program: the linker then leaves out whatever nothing calls.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections")
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
