# Helpers shared by the CMake files of the project.

# GoogleTest from the distribution's sources, built with the current toolchain.
function(zorvant_add_googletest)
  if(TARGET gtest)
    return()
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main)
    target_compile_options(${t} PRIVATE -w)
  endforeach()
endfunction()

# zorvant_library(<name> SOURCES ... [LINKS ...]): a library of platform-free
# code, defined once beside its sources and built in every tree (host, win32,
# win64). The host tree also has <name>_sanitized, built only when something
# links it, with the address and undefined-behaviour sanitizers: the tests that
# replay fuzz findings and the fuzz programs link it, so that the library's own
# code is checked too. LINKS names other such libraries.
function(zorvant_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LINKS})
  if(NOT WIN32)
    add_library(${name}_sanitized STATIC EXCLUDE_FROM_ALL ${L_SOURCES})
    target_include_directories(${name}_sanitized PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(${name}_sanitized PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all)
    target_link_options(${name}_sanitized PUBLIC -fsanitize=address,undefined)
    list(TRANSFORM L_LINKS APPEND _sanitized)
    target_link_libraries(${name}_sanitized PUBLIC ${L_LINKS})
    # The fuzzer steers by the edges that the library's own code reaches.
    if(ZORVANT_FUZZ)
      target_compile_options(${name}_sanitized PRIVATE -fsanitize=fuzzer-no-link)
    endif()
  endif()
endfunction()

# zorvant_embed(<target> <symbol> <file>): links the bytes of <file> into
# <target> as `extern const unsigned char <symbol>[]`, with
# `<symbol>_size` holding their count. The bytes sit in read-only data.
function(zorvant_embed target symbol file)
  get_filename_component(abs ${file} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embed_${symbol}.S)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND WIN32)
    set(prefix "_")
  else()
    set(prefix "")
  endif()
  file(WRITE ${out}.in
"    .section .rdata,\"dr\"
    .balign 16
    .globl ${prefix}${symbol}
${prefix}${symbol}:
    .incbin \"${abs}\"
    .globl ${prefix}${symbol}_end
${prefix}${symbol}_end:
    .balign 4
    .globl ${prefix}${symbol}_size
${prefix}${symbol}_size:
    .long ${prefix}${symbol}_end - ${prefix}${symbol}
")
  configure_file(${out}.in ${out} COPYONLY)
  set_source_files_properties(${out} PROPERTIES OBJECT_DEPENDS ${abs})
  target_sources(${target} PRIVATE ${out})
endfunction()

# zorvant_test(<name> SOURCES ... LIBS ...): a GoogleTest program run by ctest
# (under Wine through the emulator when cross-compiling). OWN_MAIN: the
# sources bring their own main (for a runtime set up around all the tests).
# A Windows test carries the program's manifest, so that it reads its texts
# in the program's code page; OWN_MANIFEST: its sources bring another one.
function(zorvant_test name)
  cmake_parse_arguments(T "OWN_MAIN;OWN_MANIFEST" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main)
  endif()
  if(WIN32 AND NOT T_OWN_MANIFEST)
    target_link_libraries(${name} PRIVATE zorvant_manifest)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  # The i686 tests may run under qemu-i386 emulation, several times slower.
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    math(EXPR T_TIMEOUT "${T_TIMEOUT} * 3")
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()

# zorvant_tests_per_file(LIBS ... [OWN_MANIFEST names...]): every *_test.cpp
# of the current folder becomes a test program of its own, named after the
# file, so that a crash in one leaves the others standing. Sources in support/
# are linked into each; a support/main.cpp replaces GoogleTest's main. The
# tests named after OWN_MANIFEST are given their manifest by the caller.
function(zorvant_tests_per_file)
  cmake_parse_arguments(T "" "TIMEOUT" "LIBS;OWN_MANIFEST" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  set(own_main "")
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/support/main.cpp)
    set(own_main OWN_MAIN)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  foreach(t ${tests})
    get_filename_component(name ${t} NAME_WE)
    set(own_manifest "")
    if(name IN_LIST T_OWN_MANIFEST)
      set(own_manifest OWN_MANIFEST)
    endif()
    zorvant_test(${name} ${own_main} ${own_manifest} TIMEOUT ${T_TIMEOUT} SOURCES ${t} ${support} LIBS ${T_LIBS})
  endforeach()
endfunction()

# zorvant_fuzz_replay(<name> SOURCES ... LIBS ...): a host test that replays
# committed fuzz inputs through the fuzz targets with the address and
# undefined-behaviour sanitizers. LIBS names the platform-free libraries under
# test; their <lib>_sanitized copies are linked, so that the parsers' own code
# is instrumented too.
function(zorvant_fuzz_replay name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  list(TRANSFORM T_LIBS APPEND _sanitized)
  zorvant_test(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS})
  target_compile_definitions(${name} PRIVATE ZORVANT_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  target_compile_options(${name} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all)
endfunction()

# zorvant_fuzz_targets(<target>... SOURCES ... LIBS ...): in the fuzz tree
# only (ZORVANT_FUZZ, configured with clang by tools/fuzz.sh), a libFuzzer
# program fuzz_<target> for each target, whose entry point is the function
# fuzz_<target> of SOURCES. Like the replay tests, it links the <lib>_sanitized
# copies of LIBS, which that tree also instruments for coverage.
function(zorvant_fuzz_targets)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT ZORVANT_FUZZ)
    return()
  endif()
  list(TRANSFORM T_LIBS APPEND _sanitized)
  foreach(target ${T_UNPARSED_ARGUMENTS})
    set(exe fuzz_${target})
    add_executable(${exe} EXCLUDE_FROM_ALL ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_main.cpp)
    target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(${exe} PRIVATE ZORVANT_LIBFUZZER=${exe})
    target_compile_options(${exe} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
    target_link_options(${exe} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${exe} PRIVATE ${T_LIBS})
    # All in one place, where tools/fuzz.sh runs them.
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  endforeach()
endfunction()
