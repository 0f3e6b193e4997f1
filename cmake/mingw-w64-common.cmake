# What both Windows cross builds share; included by mingw-w64-x86_64.cmake and
# mingw-w64-i686.cmake after they set QUILLET_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR.
#
# The "-posix" compilers are Debian's mingw-w64 with POSIX threads: GoogleTest needs
# std::mutex, which the "-win32" ones lack.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QUILLET_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLET_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLET_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLET_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Link the C++ runtime and the thread library statically, so that QUILLET.dll and the
# programs stand alone: they need nothing but DLLs that come with Windows.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
