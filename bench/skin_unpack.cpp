// Skin benchmark: the decoder's output rate on the game's skin payload beside
// zlib's inflate of the same payload (compress2, level 9), the packed sizes
// beside zlib's, and under Windows the time of a whole skin_load.
// Usage: skin_bench <skin container> [<large file to compare sizes on>]
// Prints medians of RUNS runs.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "runtime/skin/packed_block.h"
#include "tools/pack/file_io.h"
#include "tools/pack/pack.h"

#ifdef _WIN32
#include "runtime/core/heap.h"
#include "runtime/skin/skin.h"
#endif

namespace {

const int RUNS = 31;
const uint32_t CONTAINER_HEADER = 48;

// Median wall time of RUNS calls, in seconds.
template <class Work>
double median_seconds(Work work)
{
    std::vector<double> times;
    for (int k = 0; k < RUNS; ++k) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[RUNS / 2];
}

std::vector<uint8_t> zlib_compress(const std::vector<uint8_t>& data)
{
    uLongf size = compressBound(uLong(data.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, data.data(), uLong(data.size()), 9);
    out.resize(size);
    return out;
}

void compare_sizes(const char* name, const std::vector<uint8_t>& data)
{
    size_t packed = pack_block(data.data(), data.size()).size();
    size_t zlib = zlib_compress(data).size();
    printf("%-12s %9zu bytes: packed %8zu (%.2f%%), zlib -9 %8zu (%.2f%%), packed/zlib %.3f\n", name, data.size(),
           packed, 100.0 * packed / data.size(), zlib, 100.0 * zlib / data.size(), double(packed) / zlib);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<uint8_t> container;
    if (argc < 2 || !file_read_all(argv[1], container) || container.size() < CONTAINER_HEADER + PACKED_BLOCK_HEADER_SIZE) {
        fprintf(stderr, "usage: skin_bench <skin container> [<large file>]\n");
        return 2;
    }
    const uint8_t* block = container.data() + CONTAINER_HEADER;
    size_t block_size = container.size() - CONTAINER_HEADER;
    std::vector<uint8_t> payload(packed_block_size(block));
    if (packed_block_unpack_ex(block, block_size, payload.data(), payload.size()) != payload.size()) {
        fprintf(stderr, "skin_bench: the container's payload does not unpack\n");
        return 1;
    }
    std::vector<uint8_t> deflated = zlib_compress(payload);
    std::vector<uint8_t> out(payload.size());

    double unpack = median_seconds([&] { packed_block_unpack_ex(block, block_size, out.data(), out.size()); });
    double inflate = median_seconds([&] {
        uLongf size = uLongf(out.size());
        uncompress(out.data(), &size, deflated.data(), uLong(deflated.size()));
    });
    double mb = payload.size() / 1e6;
    printf("skin payload %zu bytes, medians of %d runs\n", payload.size(), RUNS);
    printf("packed_block_unpack_ex  %8.3f ms  %7.1f MB/s of output\n", unpack * 1e3, mb / unpack);
    printf("zlib inflate (level 9)  %8.3f ms  %7.1f MB/s of output\n", inflate * 1e3, mb / inflate);
    printf("unpack speed / inflate speed: %.2f\n", inflate / unpack);
    printf("skin payload: packed block %zu bytes, zlib -9 %zu bytes\n", block_size, deflated.size());

    // What the first touch of fresh memory costs on this machine: skin_load
    // unpacks into a block this size that the heap takes fresh from the
    // system each time. The blocks are kept until the end so none is reused.
    std::vector<uint8_t*> fresh;
    double touch = median_seconds([&] {
        fresh.push_back(new uint8_t[payload.size()]);
        for (size_t k = 0; k < payload.size(); k += 4096)
            fresh.back()[k] = 1;
    });
    for (uint8_t* block : fresh)
        delete[] block;
    printf("first touch of a fresh %zu-byte block  %8.3f ms\n", payload.size(), touch * 1e3);

#ifdef _WIN32
    heap_main_create();
    heap_skin_create();
    double load = median_seconds([&] {
        skin_load_ex(container.data(), container.size());
        skin_free_all();
    });
    printf("skin_load_ex + skin_free_all  %8.3f ms\n", load * 1e3);
#endif

    if (argc >= 3) {
        std::vector<uint8_t> large;
        if (!file_read_all(argv[2], large)) {
            fprintf(stderr, "skin_bench: cannot read %s\n", argv[2]);
            return 1;
        }
        compare_sizes("skin payload", payload);
        compare_sizes("large file", large);
    }
    return 0;
}
