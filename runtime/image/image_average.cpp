// Area-averaging stretch. Along each axis a source of S pixels and a
// destination of D pixels are laid on a common scale of S * D units: source
// pixel i spans [i * D, (i + 1) * D), destination pixel d spans
// [d * S, (d + 1) * S). A weight is the overlap of the two spans, so the
// weights of one destination pixel add up to S exactly, and the arithmetic
// stays in integers.
#include "runtime/image/image_average.h"

namespace {

struct Span {
    int32_t first;  // first source pixel covered
    int32_t last;   // last source pixel covered
};

Span covered(int32_t d, int32_t source_length, int32_t destination_length)
{
    int64_t start = static_cast<int64_t>(d) * source_length;
    int64_t end = start + source_length;
    return {static_cast<int32_t>(start / destination_length),
            static_cast<int32_t>((end - 1) / destination_length)};
}

int64_t weight(int32_t i, int32_t d, int32_t source_length, int32_t destination_length)
{
    int64_t source_start = static_cast<int64_t>(i) * destination_length;
    int64_t destination_start = static_cast<int64_t>(d) * source_length;
    int64_t start = source_start > destination_start ? source_start : destination_start;
    int64_t source_end = source_start + destination_length;
    int64_t destination_end = destination_start + source_length;
    int64_t end = source_end < destination_end ? source_end : destination_end;
    return end - start;
}

}  // namespace

void image_average_stretch(const PixelRows& source, const PixelRows& destination, int32_t bytes_per_pixel)
{
    const uint64_t total = static_cast<uint64_t>(source.width) * static_cast<uint64_t>(source.height);
    for (int32_t y = 0; y < destination.height; ++y) {
        Span rows = covered(y, source.height, destination.height);
        unsigned char* out = destination.pixels + static_cast<intptr_t>(y) * destination.stride;
        for (int32_t x = 0; x < destination.width; ++x) {
            Span columns = covered(x, source.width, destination.width);
            uint64_t sums[4] = {0, 0, 0, 0};
            for (int32_t sy = rows.first; sy <= rows.last; ++sy) {
                uint64_t row_weight = static_cast<uint64_t>(weight(sy, y, source.height, destination.height));
                const unsigned char* in = source.pixels + static_cast<intptr_t>(sy) * source.stride +
                                          static_cast<intptr_t>(columns.first) * bytes_per_pixel;
                for (int32_t sx = columns.first; sx <= columns.last; ++sx, in += bytes_per_pixel) {
                    uint64_t w = row_weight * static_cast<uint64_t>(weight(sx, x, source.width, destination.width));
                    for (int32_t b = 0; b < bytes_per_pixel; ++b)
                        sums[b] += w * in[b];
                }
            }
            for (int32_t b = 0; b < bytes_per_pixel; ++b)
                out[static_cast<intptr_t>(x) * bytes_per_pixel + b] =
                    static_cast<unsigned char>((sums[b] + total / 2) / total);
        }
    }
}
