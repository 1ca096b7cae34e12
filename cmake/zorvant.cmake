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

# zorvant_library(<name> [WIN32] [OBJECT] SOURCES ... [LINKS ...] [SYSTEM ...]):
# a library of the project, defined once beside its sources, with the source
# tree as its include root. LINKS names other libraries of the project, SYSTEM
# the platform's and the system's (user32, z).
# - WIN32: it calls the platform, so only the Windows trees build it. OBJECT:
#   its objects are linked as they are (a resource that nothing refers to by
#   name), not taken from an archive.
# - Otherwise it is platform-free and built in every tree (host, win32,
#   win64). The host tree also has <name>_sanitized, built only when something
#   links it, with the address and undefined-behaviour sanitizers: the tests
#   that replay fuzz findings and the fuzz programs link it, so that the
#   library's own code is checked too.
function(zorvant_library name)
  cmake_parse_arguments(L "WIN32;OBJECT" "" "SOURCES;LINKS;SYSTEM" ${ARGN})
  if(L_WIN32 AND NOT WIN32)
    return()
  endif()
  set(kind STATIC)
  if(L_OBJECT)
    set(kind OBJECT)
  endif()
  add_library(${name} ${kind} ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LINKS} ${L_SYSTEM})
  if(NOT WIN32)
    add_library(${name}_sanitized STATIC EXCLUDE_FROM_ALL ${L_SOURCES})
    target_include_directories(${name}_sanitized PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(${name}_sanitized PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all)
    target_link_options(${name}_sanitized PUBLIC -fsanitize=address,undefined)
    list(TRANSFORM L_LINKS APPEND _sanitized)
    target_link_libraries(${name}_sanitized PUBLIC ${L_LINKS} ${L_SYSTEM})
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

# zorvant_tests_per_file(<name>... LIBS ... [SOURCES ...] [OWN_MANIFEST <name>...]
# [TIMEOUT s]): each <name> is a test program of its own, built from <name>.cpp
# of the current folder, so that a crash in one leaves the others standing.
# SOURCES, the folder's helpers, are linked into each. The tests named after
# OWN_MANIFEST are given their manifest by the caller.
function(zorvant_tests_per_file)
  cmake_parse_arguments(T "" "TIMEOUT" "LIBS;SOURCES;OWN_MANIFEST" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  foreach(name ${T_UNPARSED_ARGUMENTS})
    set(own_manifest "")
    if(name IN_LIST T_OWN_MANIFEST)
      set(own_manifest OWN_MANIFEST)
    endif()
    zorvant_test(${name} ${own_manifest} TIMEOUT ${T_TIMEOUT} SOURCES ${name}.cpp ${T_SOURCES} LIBS ${T_LIBS})
  endforeach()
endfunction()

# zorvant_fuzz_targets(<replay test> LIBS ... TARGETS <target> <longest input>
# ...): the fuzz targets of the current folder, whose fuzz/ holds them (the
# function fuzz_<target> of fuzz_targets.cpp), their seeds (corpus/<target>)
# and the minimised inputs that fuzzing runs kept (cases/<target>). This is
# their one list:
# - in a host tree, <replay test>.cpp of the folder replays every committed
#   input through the targets, with the address and undefined-behaviour
#   sanitizers; it links the <lib>_sanitized copies of LIBS, so that the
#   parsers' own code is instrumented too;
# - in the fuzz tree (ZORVANT_FUZZ, configured with clang by tools/fuzz.sh),
#   each target is also a libFuzzer program fuzz_<target>, and a line
#   "<target> <longest input> <fuzz folder>" of fuzz_targets.txt, from which
#   tools/fuzz.sh takes what to run.
function(zorvant_fuzz_targets replay)
  cmake_parse_arguments(T "" "" "LIBS;TARGETS" ${ARGN})
  if(WIN32)
    return()
  endif()
  set(folder ${CMAKE_CURRENT_SOURCE_DIR}/fuzz)
  list(TRANSFORM T_LIBS APPEND _sanitized)
  zorvant_test(${replay} SOURCES ${replay}.cpp ${folder}/fuzz_targets.cpp LIBS ${T_LIBS})
  target_compile_definitions(${replay} PRIVATE ZORVANT_FUZZ_FOLDER="${folder}")
  target_compile_options(${replay} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all)
  if(NOT ZORVANT_FUZZ)
    return()
  endif()
  file(RELATIVE_PATH listed_folder ${CMAKE_SOURCE_DIR} ${folder})
  while(T_TARGETS)
    list(POP_FRONT T_TARGETS target longest)
    set(exe fuzz_${target})
    add_executable(${exe} EXCLUDE_FROM_ALL ${folder}/fuzz_targets.cpp ${CMAKE_SOURCE_DIR}/tests/support/fuzz_main.cpp)
    target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(${exe} PRIVATE ZORVANT_LIBFUZZER=${exe})
    target_compile_options(${exe} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
    target_link_options(${exe} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${exe} PRIVATE ${T_LIBS})
    # All in one place, where tools/fuzz.sh runs them.
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    set_property(GLOBAL APPEND PROPERTY ZORVANT_FUZZ_TARGETS "${target} ${longest} ${listed_folder}")
  endwhile()
endfunction()

# zorvant_fuzz_target_list(): in the fuzz tree, writes the targets that
# zorvant_fuzz_targets defined to fuzz_targets.txt, one line each.
function(zorvant_fuzz_target_list)
  if(NOT ZORVANT_FUZZ)
    return()
  endif()
  get_property(lines GLOBAL PROPERTY ZORVANT_FUZZ_TARGETS)
  list(JOIN lines "\n" text)
  file(WRITE ${CMAKE_BINARY_DIR}/fuzz_targets.txt "${text}\n")
endfunction()
