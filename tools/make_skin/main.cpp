// make_skin: writes the game's skin container (assets/skin.bin).
// Usage: make_skin <output> [--payload <file>] writes the unpacked payload too.
#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/make_skin/skin_asset.h"

namespace {

bool write_file(const char* path, const std::vector<uint8_t>& data)
{
    FILE* f = fopen(path, "wb");
    if (!f)
        return false;
    bool ok = fwrite(data.data(), 1, data.size(), f) == data.size();
    return fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 4 && strcmp(argv[2], "--payload") == 0)) {
        fprintf(stderr, "usage: make_skin <output> [--payload <file>]\n");
        return 2;
    }
    std::vector<uint8_t> container = skin_asset_container();
    if (!write_file(argv[1], container)) {
        fprintf(stderr, "make_skin: cannot write %s\n", argv[1]);
        return 1;
    }
    printf("%s: %zu bytes\n", argv[1], container.size());
    if (argc == 4) {
        std::vector<uint8_t> payload = skin_asset_region();
        std::vector<uint8_t> picture = skin_asset_picture();
        payload.insert(payload.end(), picture.begin(), picture.end());
        if (!write_file(argv[3], payload)) {
            fprintf(stderr, "make_skin: cannot write %s\n", argv[3]);
            return 1;
        }
    }
    return 0;
}
