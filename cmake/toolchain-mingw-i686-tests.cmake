# The Windows test programs: GoogleTest needs std::mutex, which only the posix thread model of
# mingw-w64 has. This tree builds the GoogleTest programs (and the libraries they test) and
# nothing that ships; the shipped programs come from the win32 thread model tree.
set(MINGW_THREAD_MODEL posix)
set(WINDOWS_GTEST ON)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-i686.cmake)
