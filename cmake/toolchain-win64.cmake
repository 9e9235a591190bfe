# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix-thread
# compilers, whose C++ library has std::thread and std::mutex):
#   cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-win64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(STRATUM_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${STRATUM_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STRATUM_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${STRATUM_MINGW_TRIPLET}-windres)

# Libraries built by tools/build-windows-deps.sh (libpng) sit in a prefix in
# the checkout; the rest (zlib, the C++ run-time) in the mingw sysroot.
get_filename_component(STRATUM_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(STRATUM_WIN_DEPS_PREFIX ${STRATUM_SOURCE_ROOT}/build-deps/win64 CACHE PATH
    "Prefix of the libraries built for this target")
set(CMAKE_FIND_ROOT_PATH /usr/${STRATUM_MINGW_TRIPLET} ${STRATUM_WIN_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Modules and programs carry their run-time with them: each one imports only
# Windows system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine (tools/wine-run.sh keeps a private prefix).
set(CMAKE_CROSSCOMPILING_EMULATOR ${STRATUM_SOURCE_ROOT}/tools/wine-run.sh)
