// make_assets <folder>: writes target.bmp and zorvant.ico into the folder.
#include <cstdio>
#include <string>

#include "tools/make_assets/assets.h"
#include "tools/pack/file_io.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_assets <folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!file_write_all(folder + "/target.bmp", assets_target_bmp()) ||
        !file_write_all(folder + "/zorvant.ico", assets_icon())) {
        std::fprintf(stderr, "make_assets: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
