# libpng for the Windows trees: Debian ships none for the MinGW targets, so
# Debian's own source package is fetched into the build tree once and built
# here as a static library, linked with the MinGW zlib (libz-mingw-w64-dev).
# The built objects stay in the tree, so a rebuild does not repeat the work.
set(ZORVANT_LIBPNG_DIR ${CMAKE_BINARY_DIR}/libpng)
if(NOT EXISTS ${ZORVANT_LIBPNG_DIR}/src/png.h)
  message(STATUS "zorvant: fetching the libpng source package")
  execute_process(
    COMMAND ${CMAKE_SOURCE_DIR}/tools/fetch-libpng.sh ${ZORVANT_LIBPNG_DIR}
    RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "zorvant: the libpng source package could not be fetched")
  endif()
endif()

# The distribution's default configuration, as its own build would make it.
configure_file(${ZORVANT_LIBPNG_DIR}/src/scripts/pnglibconf.h.prebuilt
  ${ZORVANT_LIBPNG_DIR}/include/pnglibconf.h COPYONLY)
foreach(h png.h pngconf.h)
  configure_file(${ZORVANT_LIBPNG_DIR}/src/${h} ${ZORVANT_LIBPNG_DIR}/include/${h} COPYONLY)
endforeach()

set(libpng_sources png pngerror pngget pngmem pngpread pngread pngrio pngrtran
  pngrutil pngset pngtrans pngwio pngwrite pngwtran pngwutil)
list(TRANSFORM libpng_sources PREPEND ${ZORVANT_LIBPNG_DIR}/src/)
list(TRANSFORM libpng_sources APPEND .c)
add_library(zorvant_libpng STATIC ${libpng_sources})
target_include_directories(zorvant_libpng PRIVATE ${ZORVANT_LIBPNG_DIR}/include)
target_include_directories(zorvant_libpng SYSTEM INTERFACE ${ZORVANT_LIBPNG_DIR}/include)
target_compile_options(zorvant_libpng PRIVATE -w)
# The toolchain's zlib: the static one, since the program links statically.
find_library(ZORVANT_MINGW_ZLIB NAMES libz.a z REQUIRED)
target_link_libraries(zorvant_libpng PUBLIC ${ZORVANT_MINGW_ZLIB})
