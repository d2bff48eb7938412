# The 64-bit build, the one Wine runs here.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw_toolchain.cmake)
