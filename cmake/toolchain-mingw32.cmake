# Cross build for 32-bit Windows (i686) with mingw-w64, posix thread model, static linking.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Floating point in SSE2 registers, as in the x86-64 build: x87's extended precision would
# round intermediate results differently, so a rule such as "width / height <= 3.8" could
# decide otherwise in the 32-bit program. Every processor Windows 7 runs on has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
