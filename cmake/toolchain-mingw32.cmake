set(CMAKE_SYSTEM_PROCESSOR i686)
set(KAIRON_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Its programs run here under Wine, which needs the 32-bit Wine (wine32) for them.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
