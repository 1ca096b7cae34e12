// make_skin: writes the game's skin container (assets/skin.bin).
// Usage: make_skin <output> [--payload <file>] writes the unpacked payload too.
#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/make_skin/skin_asset.h"
#include "tools/pack/file_io.h"

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 4 && strcmp(argv[2], "--payload") == 0)) {
        fprintf(stderr, "usage: make_skin <output> [--payload <file>]\n");
        return 2;
    }
    std::vector<uint8_t> container = skin_asset_container();
    if (!file_write_all(argv[1], container)) {
        fprintf(stderr, "make_skin: cannot write %s\n", argv[1]);
        return 1;
    }
    printf("%s: %zu bytes\n", argv[1], container.size());
    if (argc == 4) {
        std::vector<uint8_t> payload = skin_asset_region();
        std::vector<uint8_t> picture = skin_asset_picture();
        payload.insert(payload.end(), picture.begin(), picture.end());
        if (!file_write_all(argv[3], payload)) {
            fprintf(stderr, "make_skin: cannot write %s\n", argv[3]);
            return 1;
        }
    }
    return 0;
}
