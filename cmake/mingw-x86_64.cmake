# The same code for 64-bit Windows: the Windows tests run this build under
# Wine's 64-bit loader on machines that cannot start 32-bit Linux programs.
set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
