# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX-thread flavour, for std::thread).
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
# Used both for Qt itself and for the project; scripts/windows/build.sh passes it to both.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(ZORV_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZORV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZORV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZORV_MINGW_TRIPLE}-windres)

# Headers and libraries come from the MinGW tree and from the prefixes passed in
# CMAKE_PREFIX_PATH / CMAKE_FIND_ROOT_PATH (the Qt built for Windows); programs from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ZORV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
