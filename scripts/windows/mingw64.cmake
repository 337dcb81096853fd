# Cross-compiling for 64-bit Windows with Debian's MinGW-w64, posix thread model (std::thread
# and std::mutex need it; the plain x86_64-w64-mingw32-g++ is the win32 variant).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-ar CACHE FILEPATH "")
set(CMAKE_RANLIB x86_64-w64-mingw32-ranlib CACHE FILEPATH "")

# Libraries and packages come from the MinGW sysroot and the cross-built Qt only; programs
# (moc, rcc, uic, lrelease) from the machine itself.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
# scripts/windows.sh names the prefixes of what it cross-built (Qt, libxlsxwriter), separated by
# colons, in the environment, which reaches the compiler checks as well.
if(DEFINED ENV{VARDUN_WINDOWS_ROOTS})
    string(REPLACE ":" ";" vardun_roots "$ENV{VARDUN_WINDOWS_ROOTS}")
    list(APPEND CMAKE_FIND_ROOT_PATH ${vardun_roots})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
