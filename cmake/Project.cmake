# Common settings and helpers for every target of the project.

# Our own code builds without warnings: every warning is an error.
set(LBB_WARNINGS -Wall -Wextra -Wshadow -Werror)
# g++ 12's object-size warnings fire falsely inside std::string and std::string_view once the
# standard headers come precompiled (the silence of system headers is lost for them): they are
# off for g++. The sanitizer and fuzz builds check those accesses at run time instead.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND LBB_WARNINGS -Wno-array-bounds -Wno-stringop-overread -Wno-stringop-overflow
       -Wno-restrict)
endif()

# The fuzz preset instruments every library for coverage, so the fuzzers see the branches of
# the parsers they drive (the targets themselves add the libFuzzer driver).
if(LBB_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(LBB_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# One include root: every include names its library ("base/PixelBuffer.h",
# "forms/Controls.h", "app/engine/Runs.h").
include_directories(${CMAKE_SOURCE_DIR})

if(WIN32)
  # Unicode Win32 API everywhere; Windows 7 as the lowest version asked for.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# Precompiled headers: the standard library's headers (and in the Windows builds the
# platform's), parsed once per tree instead of once per file; they were most of the compile
# time of a small file. lbb_pch serves every library and program, lbb_pch_test (the same plus
# GoogleTest) every test. Sources still include what they use.
set(LBB_PCH_HEADERS
    <algorithm> <array> <atomic> <chrono> <cstdint> <cstring> <filesystem> <functional> <map>
    <memory> <mutex> <optional> <set> <span> <string> <string_view> <thread> <unordered_map>
    <unordered_set> <utility> <vector>)
if(WIN32)
  list(PREPEND LBB_PCH_HEADERS <windows.h> <commctrl.h>)
endif()

# lbb_warnings(target): the project's warning set, as errors, and the tree's precompiled
# headers (CXX targets).
function(lbb_warnings target)
  target_compile_options(${target} PRIVATE ${LBB_WARNINGS})
  get_target_property(sources ${target} SOURCES)
  if(NOT target MATCHES "^lbb_pch" AND sources MATCHES "\\.cpp")
    target_precompile_headers(${target} REUSE_FROM lbb_pch)
  endif()
endfunction()

add_library(lbb_pch STATIC ${CMAKE_CURRENT_LIST_DIR}/PchAnchor.cpp)
target_precompile_headers(lbb_pch PRIVATE ${LBB_PCH_HEADERS})
lbb_warnings(lbb_pch)

# GoogleTest: Debian's package natively; built from Debian's sources for the Windows builds.
if(WIN32)
  if(NOT TARGET GTest::gtest)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
  endif()
else()
  find_package(GTest REQUIRED)
endif()

add_library(lbb_pch_test STATIC ${CMAKE_CURRENT_LIST_DIR}/PchAnchor.cpp)
target_precompile_headers(lbb_pch_test PRIVATE ${LBB_PCH_HEADERS} <gtest/gtest.h>)
target_link_libraries(lbb_pch_test PRIVATE GTest::gtest)
lbb_warnings(lbb_pch_test)

# lbb_test(name SOURCES ... LIBS ... [LABELS ...] [ENV ...] [WRAP ...]):
# one GoogleTest executable registered with ctest. Windows executables run through the
# emulator (Wine); WRAP puts a command in front (for example scripts/with-samplehost).
function(lbb_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV;WRAP" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_options(${name} PRIVATE ${LBB_WARNINGS})
  target_precompile_headers(${name} REUSE_FROM lbb_pch_test)
  if(T_WRAP)
    if(CMAKE_CROSSCOMPILING_EMULATOR)
      add_test(NAME ${name} COMMAND ${T_WRAP} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
    else()
      add_test(NAME ${name} COMMAND ${T_WRAP} $<TARGET_FILE:${name}>)
    endif()
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
endfunction()

# lbb_add_subdirs(): adds every direct subdirectory that has a CMakeLists.txt, in name
# order, so that independent areas (tests, tools, benchmarks) plug in without shared edits.
macro(lbb_add_subdirs)
  file(GLOB _lbb_children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _lbb_children)
  foreach(_lbb_child IN LISTS _lbb_children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${_lbb_child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_lbb_child}/CMakeLists.txt)
      add_subdirectory(${_lbb_child})
    endif()
  endforeach()
endmacro()

# The native build of the sample blog host, which the Windows tests start (the Windows
# presets cannot build it: it is a Linux program).
set(LBB_NATIVE_BUILD_DIR ${CMAKE_SOURCE_DIR}/build/native)
set(LBB_SAMPLEHOST ${LBB_NATIVE_BUILD_DIR}/tools/samplehost/samplehost)
set(LBB_WITH_SAMPLEHOST ${CMAKE_SOURCE_DIR}/scripts/with-samplehost)

# lbb_fuzzer(name SOURCES ... LIBS ...): a libFuzzer target (fuzz preset only), written to
# build/fuzz/fuzz/ where scripts/fuzz finds it. Names start with fuzz_.
function(lbb_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  # Not lbb_warnings: clang refuses a precompiled header made without -fsanitize=fuzzer.
  target_compile_options(${name} PRIVATE ${LBB_WARNINGS})
endfunction()

# lbb_bench(name SOURCES ... LIBS ...): a Google Benchmark program (native builds only).
function(lbb_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  lbb_warnings(${name})
endfunction()
