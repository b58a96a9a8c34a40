# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64-posix): the
# posix thread model, which std::thread and std::mutex need. The program links statically, so it
# imports only the system's DLLs, and carries no time stamp, so that two builds give the same file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(toolchain_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${toolchain_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${toolchain_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${toolchain_prefix}-windres)
set(CMAKE_AR ${toolchain_prefix}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${toolchain_prefix}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${toolchain_prefix}-strip CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${toolchain_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Unused code and data left out; the C++ runtime and winpthread linked in; no time stamp in the
# PE header.
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -Wl,--no-insert-timestamp")
# std::terminate aborts at once instead of going through libstdc++'s verbose handler: that handler
# writes the exception's demangled type to stderr, which a program without a console shows nobody,
# and it alone brings the demangler and a printf into the program (70 KB).
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--defsym=_ZN9__gnu_cxx27__verbose_terminate_handlerEv=abort")
# The release build optimised for size, as the program carries its C++ runtime within it. A cache
# entry, since CMake would put -O3 after flags given here as _INIT.
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG" CACHE STRING "Flags of the release build")
# Stripped in the release builds; RelWithDebInfo keeps its symbols for a debugger.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")
