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

// Sums a pixel's weighted bytes in Sum: 32 bits whenever the largest sum,
// 255 times the whole weight, fits, which spares the 64-bit divisions (a
// library call on i686) for every picture of up to 16 million pixels. A
// fixed BYTES (3 or 4; 0 for any) lets the compiler unroll the byte loops.
template <typename Sum, int32_t BYTES>
void stretch(const PixelRows& source, const PixelRows& destination, int32_t any_bytes_per_pixel)
{
    const int32_t bytes_per_pixel = BYTES ? BYTES : any_bytes_per_pixel;
    const Sum total = static_cast<Sum>(source.width) * static_cast<Sum>(source.height);
    for (int32_t y = 0; y < destination.height; ++y) {
        Span rows = covered(y, source.height, destination.height);
        unsigned char* out = destination.pixels + static_cast<intptr_t>(y) * destination.stride;
        // The columns' spans advance by steps instead of a division each.
        int32_t first = 0;
        int64_t first_end = destination.width;  // where source column `first` ends on the common scale
        for (int32_t x = 0; x < destination.width; ++x, out += bytes_per_pixel) {
            int64_t start = static_cast<int64_t>(x) * source.width;
            int64_t end = start + source.width;
            while (first_end <= start) {
                ++first;
                first_end += destination.width;
            }
            Sum sums[4] = {0, 0, 0, 0};
            for (int32_t sy = rows.first; sy <= rows.last; ++sy) {
                Sum row_weight = static_cast<Sum>(weight(sy, y, source.height, destination.height));
                const unsigned char* in = source.pixels + static_cast<intptr_t>(sy) * source.stride +
                                          static_cast<intptr_t>(first) * bytes_per_pixel;
                int64_t column_start = first_end - destination.width;
                for (; column_start < end; column_start += destination.width, in += bytes_per_pixel) {
                    int64_t from = column_start > start ? column_start : start;
                    int64_t to = column_start + destination.width < end ? column_start + destination.width : end;
                    Sum w = row_weight * static_cast<Sum>(to - from);
                    for (int32_t b = 0; b < bytes_per_pixel; ++b)
                        sums[b] += w * in[b];
                }
            }
            for (int32_t b = 0; b < bytes_per_pixel; ++b)
                out[b] = static_cast<unsigned char>((sums[b] + total / 2) / total);
        }
    }
}

}  // namespace

void image_average_stretch(const PixelRows& source, const PixelRows& destination, int32_t bytes_per_pixel)
{
    const uint64_t total = static_cast<uint64_t>(source.width) * static_cast<uint64_t>(source.height);
    if (total * 255 + total / 2 > UINT32_MAX)
        stretch<uint64_t, 0>(source, destination, bytes_per_pixel);
    else if (bytes_per_pixel == 4)
        stretch<uint32_t, 4>(source, destination, bytes_per_pixel);
    else if (bytes_per_pixel == 3)
        stretch<uint32_t, 3>(source, destination, bytes_per_pixel);
    else
        stretch<uint32_t, 0>(source, destination, bytes_per_pixel);
}
