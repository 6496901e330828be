# Cross build for 32-bit Windows, the primary target. Its programs run here under
# Wine's WoW64 with a user-mode i386 emulator (scripts/win32-lane.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(PLIMO_CAN_RUN ON CACHE INTERNAL "Programs of this build run here under Wine")
set(PLIMO_EMULATED ON CACHE INTERNAL "Programs of this build run under a CPU emulator here")
