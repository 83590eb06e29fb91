# Cross-compiles the Windows build (Rowpluck.exe) with mingw-w64 on Linux;
# executables built here run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)

# Look for libraries, headers and packages of the target only: the build
# machine's own GoogleTest must never be picked up.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest starts the cross-built tests through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Everything linked in: the .exe then needs only the DLLs that come with
# Windows (a missing DLL makes it exit silently with code 53 under Wine).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
