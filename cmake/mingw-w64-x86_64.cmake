# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the POSIX thread
# variant, which std::thread needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BLOKIT_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BLOKIT_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BLOKIT_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${BLOKIT_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BLOKIT_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs need only DLLs that Windows itself has.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
