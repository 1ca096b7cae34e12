# libpng for the Windows trees: Debian ships none for the MinGW targets, so
# Debian's own source package, fetched once by the deps step
# (tools/fetch-libpng.sh; configuring never fetches or installs anything), is
# built here as a static library, linked with the MinGW zlib
# (libz-mingw-w64-dev). Both Windows trees build the one copy of the sources,
# which make deps fetches into the build folder's libpng/ (make names it; by
# default it is the one under the source tree's build/).
set(ZORVANT_LIBPNG_SOURCE ${CMAKE_SOURCE_DIR}/build/libpng/src CACHE PATH
  "The unpacked libpng1.6 source package (tools/fetch-libpng.sh DIR fetches it into DIR/src)")
# As the compiler will see it, for the prefix map below.
cmake_path(ABSOLUTE_PATH ZORVANT_LIBPNG_SOURCE NORMALIZE OUTPUT_VARIABLE libpng_source_dir)
string(REGEX REPLACE "/$" "" libpng_source_dir ${libpng_source_dir})
if(NOT EXISTS ${libpng_source_dir}/png.h)
  cmake_path(GET libpng_source_dir PARENT_PATH fetch_dir)
  message(FATAL_ERROR "zorvant: no libpng sources in ${libpng_source_dir}: "
    "run `make deps`, or tools/fetch-libpng.sh ${fetch_dir}")
endif()
set(ZORVANT_LIBPNG_DIR ${CMAKE_BINARY_DIR}/libpng)
# The sources lie outside this tree: their folder is kept out of the objects
# too, so the program and its debug information do not depend on it.
add_compile_options(-ffile-prefix-map=${libpng_source_dir}=libpng)

# The distribution's default configuration, as its own build would make it.
configure_file(${libpng_source_dir}/scripts/pnglibconf.h.prebuilt
  ${ZORVANT_LIBPNG_DIR}/include/pnglibconf.h COPYONLY)
foreach(h png.h pngconf.h)
  configure_file(${libpng_source_dir}/${h} ${ZORVANT_LIBPNG_DIR}/include/${h} COPYONLY)
endforeach()

set(libpng_sources png pngerror pngget pngmem pngpread pngread pngrio pngrtran
  pngrutil pngset pngtrans pngwio pngwrite pngwtran pngwutil)
list(TRANSFORM libpng_sources PREPEND ${libpng_source_dir}/)
list(TRANSFORM libpng_sources APPEND .c)
add_library(zorvant_libpng STATIC ${libpng_sources})
target_include_directories(zorvant_libpng PRIVATE ${ZORVANT_LIBPNG_DIR}/include)
target_include_directories(zorvant_libpng SYSTEM INTERFACE ${ZORVANT_LIBPNG_DIR}/include)
target_compile_options(zorvant_libpng PRIVATE -w)
# The toolchain's zlib: the static one, since the program links statically.
find_library(ZORVANT_MINGW_ZLIB NAMES libz.a z REQUIRED)
target_link_libraries(zorvant_libpng PUBLIC ${ZORVANT_MINGW_ZLIB})
