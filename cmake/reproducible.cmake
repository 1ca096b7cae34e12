# The same program bytes from any folder on any day: no build folder in the
# objects (file names in messages and debug information), and no link time in
# the PE header. Included before anything is compiled, so libpng, GoogleTest
# and the embedded assets are built this way too. The later map wins, so the
# build tree, usually inside the sources, is named last.
add_compile_options(
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
  -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
add_link_options(-Wl,--no-insert-timestamp)
