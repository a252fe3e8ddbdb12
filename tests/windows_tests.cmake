# The headless tests built for Windows, to be run there or under Wine: the
# game library and the shared platform code on the Windows C++ runtime, with
# the registry and the system's file search beneath them. Left out: the SDL
# backend's tests, those of the tools, which are not built for Windows, and
# every file named *_posix_test.cpp: tests of what only POSIX systems have.

# Debian ships GoogleTest as sources; they are built with the same compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB_RECURSE BLOKIT_TEST_SOURCES CONFIGURE_DEPENDS *.cpp)
list(FILTER BLOKIT_TEST_SOURCES EXCLUDE REGEX
     "/tests/(sdl/|res/archive_tool_test|data/generator_test)|_posix_test\\.cpp$")
add_executable(blokit_tests ${BLOKIT_TEST_SOURCES})
target_include_directories(blokit_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
# The program's manifest too, so that the tests run in its code page (UTF-8),
# and the backend's full-screen picture, which a fake DirectDraw drives.
target_sources(blokit_tests PRIVATE ${CMAKE_BINARY_DIR}/blokit.rc)
foreach(name screen_surface screen_parts direct_draw_result backend)
  target_sources(blokit_tests PRIVATE ${CMAKE_SOURCE_DIR}/src/platform/win32/${name}.cpp)
endforeach()
target_compile_options(blokit_tests PRIVATE -include
                       ${CMAKE_CURRENT_SOURCE_DIR}/support/win32/posix_shim.h)
target_link_libraries(blokit_tests PRIVATE blokit_with_headless blokit_formats blokit_datagen
                      gtest gtest_main)
# The data files come from a native build's run directory; Wine shows the
# Linux root, where the golden frames lie, as drive Z:.
target_compile_definitions(blokit_tests PRIVATE BLOKIT_RUN_DIR="${BLOKIT_DATA_DIR}"
                           BLOKIT_GOLDEN_DIR="Z:${CMAKE_CURRENT_SOURCE_DIR}/golden"
                           BLOKIT_PACK_TOOL="")
# mingw's GCC 12 warns wrongly about std::vector::insert, std::equal and short
# std::string assignments at full optimisation (false positives of that
# compiler); the byte writers of the data generator and of the tests meet them.
foreach(target blokit_datagen blokit_formats blokit_tests)
  target_compile_options(${target} PRIVATE -Wno-stringop-overflow -Wno-stringop-overread
                                           -Wno-restrict)
endforeach()
