# Shared part of the two mingw-w64 toolchains. The -posix flavour is required: the -win32 one has
# no std::thread/std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${TAVIK_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVIK_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVIK_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVIK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the DLL must import nothing a user's Windows could lack.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
