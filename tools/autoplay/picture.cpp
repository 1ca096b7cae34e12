// BMP files of screenshots and the PNG decoder for score cards.
#include "tools/autoplay/picture.h"

#include <cstdio>
#include <cstring>
#include <zlib.h>

namespace {

uint32_t le32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t be32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

void put_be(std::vector<uint8_t>& out, uint32_t value)
{
    for (int32_t i = 3; i >= 0; i--)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void png_chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    put_be(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_be(out, static_cast<uint32_t>(crc32(0, &out[start], static_cast<uInt>(out.size() - start))));
}

void put_le(std::vector<uint8_t>& out, uint32_t value, int32_t bytes)
{
    for (int32_t i = 0; i < bytes; i++)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Undoes the row filters in place; raw holds height rows of 1 + stride bytes.
bool png_unfilter(std::vector<uint8_t>& raw, int32_t height, size_t stride, Picture& picture)
{
    const size_t bpp = 3;
    picture.rgb.assign(stride * height, 0);
    for (int32_t y = 0; y < height; y++) {
        uint8_t filter = raw[y * (stride + 1)];
        const uint8_t* in = &raw[y * (stride + 1) + 1];
        uint8_t* row = &picture.rgb[y * stride];
        const uint8_t* up = y > 0 ? &picture.rgb[(y - 1) * stride] : nullptr;
        for (size_t i = 0; i < stride; i++) {
            int32_t a = i >= bpp ? row[i - bpp] : 0;
            int32_t b = up ? up[i] : 0;
            int32_t c = up && i >= bpp ? up[i - bpp] : 0;
            int32_t predictor = 0;
            switch (filter) {
            case 0: predictor = 0; break;
            case 1: predictor = a; break;
            case 2: predictor = b; break;
            case 3: predictor = (a + b) / 2; break;
            case 4: predictor = png_paeth(a, b, c); break;
            default: return false;
            }
            row[i] = static_cast<uint8_t>(in[i] + predictor);
        }
    }
    return true;
}

}  // namespace

uint32_t picture_pixel(const Picture& picture, int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height)
        return 0xFFFFFFFF;
    const uint8_t* p = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

std::vector<uint8_t> bmp_encode(const Picture& picture)
{
    const uint32_t stride = (picture.width * 3 + 3) & ~3u;
    const uint32_t pixels = stride * picture.height;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put_le(out, 54 + pixels, 4);
    put_le(out, 0, 4);
    put_le(out, 54, 4);
    put_le(out, 40, 4);
    put_le(out, picture.width, 4);
    put_le(out, picture.height, 4);
    put_le(out, 1, 2);
    put_le(out, 24, 2);
    for (int32_t i = 0; i < 6; i++)
        put_le(out, 0, 4);
    for (int32_t y = picture.height - 1; y >= 0; y--) {
        for (int32_t x = 0; x < picture.width; x++) {
            uint32_t c = picture_pixel(picture, x, y);
            out.push_back(static_cast<uint8_t>(c >> 16));
            out.push_back(static_cast<uint8_t>(c >> 8));
            out.push_back(static_cast<uint8_t>(c));
        }
        out.resize(out.size() + stride - picture.width * 3, 0);
    }
    return out;
}

bool bmp_decode(const std::vector<uint8_t>& file, Picture& picture)
{
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M')
        return false;
    const uint8_t* h = file.data();
    uint32_t offset = le32(h + 10);
    int32_t width = static_cast<int32_t>(le32(h + 18));
    int32_t height = static_cast<int32_t>(le32(h + 22));
    uint16_t bits = static_cast<uint16_t>(h[28] | (h[29] << 8));
    bool top_down = height < 0;
    if (top_down)
        height = -height;
    if (bits != 24 || le32(h + 30) != 0 || width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return false;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    if (offset > file.size() || (file.size() - offset) / stride < static_cast<size_t>(height))
        return false;
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(static_cast<size_t>(width) * height * 3);
    for (int32_t y = 0; y < height; y++) {
        const uint8_t* row = &file[offset + stride * (top_down ? y : height - 1 - y)];
        for (int32_t x = 0; x < width; x++) {
            uint8_t* p = &picture.rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = row[x * 3 + 2];
            p[1] = row[x * 3 + 1];
            p[2] = row[x * 3];
        }
    }
    return true;
}

const size_t DEFLATE_MAX_RATIO = 1032;

const uint8_t PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

int32_t png_paeth(int32_t left, int32_t up, int32_t up_left)
{
    int32_t p = left + up - up_left;
    int32_t pa = p > left ? p - left : left - p;
    int32_t pb = p > up ? p - up : up - p;
    int32_t pc = p > up_left ? p - up_left : up_left - p;
    if (pa <= pb && pa <= pc)
        return left;
    return pb <= pc ? up : up_left;
}

std::vector<uint8_t> png_file(int32_t width, int32_t height, uint8_t colour_type, const std::vector<uint8_t>& rows,
                              int level)
{
    uLongf packed_size = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> packed(packed_size);
    compress2(packed.data(), &packed_size, rows.data(), static_cast<uLong>(rows.size()), level);
    packed.resize(packed_size);
    std::vector<uint8_t> header;
    put_be(header, static_cast<uint32_t>(width));
    put_be(header, static_cast<uint32_t>(height));
    for (uint8_t b : {uint8_t(8), colour_type, uint8_t(0), uint8_t(0), uint8_t(0)})  // deflate, standard filters
        header.push_back(b);
    std::vector<uint8_t> out(PNG_SIGNATURE, PNG_SIGNATURE + 8);
    png_chunk(out, "IHDR", header);
    png_chunk(out, "IDAT", packed);
    png_chunk(out, "IEND", {});
    return out;
}

std::vector<uint8_t> png_encode(const Picture& picture)
{
    const size_t stride = static_cast<size_t>(picture.width) * 3;
    std::vector<uint8_t> raw;
    for (int32_t y = 0; y < picture.height; y++) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), picture.rgb.begin() + y * stride, picture.rgb.begin() + (y + 1) * stride);
    }
    return png_file(picture.width, picture.height, 2, raw, Z_DEFAULT_COMPRESSION);
}

bool png_decode(const std::vector<uint8_t>& file, Picture& picture, size_t& end)
{
    if (file.size() < 8 || std::memcmp(file.data(), PNG_SIGNATURE, 8) != 0)
        return false;
    size_t pos = 8;
    std::vector<uint8_t> packed;
    bool header = false;
    for (;;) {
        if (file.size() - pos < 12)
            return false;
        uint32_t length = be32(&file[pos]);
        if (length > file.size() - pos - 12)
            return false;
        const uint8_t* type = &file[pos + 4];
        const uint8_t* data = type + 4;
        uLong crc = crc32(0, type, 4 + length);
        if (crc != be32(data + length))
            return false;
        if (std::memcmp(type, "IHDR", 4) == 0 && length == 13) {
            picture.width = static_cast<int32_t>(be32(data));
            picture.height = static_cast<int32_t>(be32(data + 4));
            // 8-bit RGB, deflate, standard filters, not interlaced.
            header = data[8] == 8 && data[9] == 2 && data[10] == 0 && data[11] == 0 && data[12] == 0;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            packed.insert(packed.end(), data, data + length);
        }
        pos += 12 + length;
        if (std::memcmp(type, "IEND", 4) == 0)
            break;
    }
    end = pos;
    if (!header || picture.width <= 0 || picture.height <= 0 || picture.width > 16384 || picture.height > 16384)
        return false;
    const size_t stride = static_cast<size_t>(picture.width) * 3;
    uLongf size = static_cast<uLongf>((stride + 1) * picture.height);
    // Deflate makes at most 1032 bytes of one: rows that the data cannot
    // hold are refused before they are allocated.
    if (size / DEFLATE_MAX_RATIO > packed.size())
        return false;
    std::vector<uint8_t> raw(size);
    if (uncompress(raw.data(), &size, packed.data(), static_cast<uLong>(packed.size())) != Z_OK ||
        size != raw.size())
        return false;
    return png_unfilter(raw, picture.height, stride, picture);
}
