# Cross build for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread model,
# whose long double is the same 80-bit type as on Linux):
#   cmake -S . -B build-win --toolchain cmake/mingw-w64.cmake -DSUMTRA_ENGINE_ONLY=ON
# The programs run under Wine; ctest starts them through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SUMTRA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SUMTRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SUMTRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SUMTRA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SUMTRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ runtime, libgcc and winpthreads are linked in: a program that needs
# their DLLs beside it does not start (Wine ends it with code 53 and no message).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(SUMTRA_WINE NAMES wine NO_CMAKE_FIND_ROOT_PATH)
if(SUMTRA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SUMTRA_WINE})
endif()
