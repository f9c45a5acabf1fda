# Shared by the two mingw-w64 toolchain files; KAIRON_MINGW_TRIPLE is set before inclusion.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${KAIRON_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAIRON_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KAIRON_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KAIRON_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# One self-contained exe: no libstdc++, libgcc or winpthread DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
