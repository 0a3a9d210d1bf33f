# Shared part of the two mingw-w64 toolchain files. The -posix compilers give
# std::thread and std::mutex.
set(CMAKE_C_COMPILER ${VELMO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMO_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VELMO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Everything static, so the programs need no DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
