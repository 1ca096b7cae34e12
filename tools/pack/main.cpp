// pack: compresses a file into a packed block, or with -d unpacks one.
// Usage: pack [-d] <input> <output>
#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/skin/packed_block.h"
#include "tools/pack/file_io.h"
#include "tools/pack/pack.h"

int main(int argc, char** argv)
{
    bool unpack = argc == 4 && strcmp(argv[1], "-d") == 0;
    if (argc != 3 && !unpack) {
        fprintf(stderr, "usage: pack [-d] <input> <output>\n");
        return 2;
    }
    const char* in_path = argv[argc - 2];
    const char* out_path = argv[argc - 1];
    std::vector<uint8_t> in;
    if (!file_read_all(in_path, in)) {
        fprintf(stderr, "pack: cannot read %s\n", in_path);
        return 1;
    }
    std::vector<uint8_t> out;
    if (unpack) {
        if (!unpack_block(in, out)) {
            fprintf(stderr, "pack: %s is not a sound packed block\n", in_path);
            return 1;
        }
    } else {
        out = pack_block(in.data(), in.size());
        if (out.empty()) {
            fprintf(stderr, "pack: %s is too large\n", in_path);
            return 1;
        }
    }
    if (!file_write_all(out_path, out)) {
        fprintf(stderr, "pack: cannot write %s\n", out_path);
        return 1;
    }
    printf("%s: %zu -> %zu bytes\n", out_path, in.size(), out.size());
    return 0;
}
