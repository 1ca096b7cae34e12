// pack: compresses a file into a packed block, or with -d unpacks one.
// Usage: pack [-d] <input> <output>
// Exit status 0 when the output is written, 1 on any failure (with its
// reason), 2 for a wrong command line.
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "tools/pack/file_io.h"
#include "tools/pack/pack.h"

namespace {

int pack_file(bool unpack, const char* in_path, const char* out_path)
{
    std::vector<uint8_t> in;
    FileReadStatus read = file_read_limited(in_path, PACK_SIZE_MAX, in);
    if (read != FILE_READ_OK) {
        fprintf(stderr, "pack: %s %s\n", in_path, file_read_explain(read).c_str());
        return 1;
    }
    std::vector<uint8_t> out;
    if (unpack) {
        const char* why = "";
        if (!unpack_block(in, out, &why)) {
            fprintf(stderr, "pack: %s %s\n", in_path, why);
            return 1;
        }
    } else {
        out = pack_block(in.data(), in.size());
    }
    if (!file_write_all(out_path, out)) {
        fprintf(stderr, "pack: cannot write %s\n", out_path);
        return 1;
    }
    printf("%s: %zu -> %zu bytes\n", out_path, in.size(), out.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bool unpack = argc == 4 && strcmp(argv[1], "-d") == 0;
    if (argc != 3 && !unpack) {
        fprintf(stderr, "usage: pack [-d] <input> <output>\n");
        return 2;
    }
    // The packer's tables take several times the input: a large one may
    // find no memory, which is a failure like any other.
    try {
        return pack_file(unpack, argv[argc - 2], argv[argc - 1]);
    } catch (const std::bad_alloc&) {
        fprintf(stderr, "pack: out of memory for %s\n", argv[argc - 2]);
        return 1;
    }
}
