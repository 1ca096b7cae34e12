// make_assets <folder>: writes target.bmp and zorvant.ico into the folder.
#include <cstdio>
#include <string>

#include "tools/make_assets/assets.h"

namespace {

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_assets <folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!write_file(folder + "/target.bmp", assets_target_bmp()) || !write_file(folder + "/zorvant.ico", assets_icon())) {
        std::fprintf(stderr, "make_assets: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
