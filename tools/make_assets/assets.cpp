// Drawing of the target: a shaded round target with red and cream rings on a
// dark backdrop, with a soft shadow, every pixel supersampled 4 x 4. The file
// layouts are written field by field, little-endian; the largest icon picture
// is a PNG file, written by the automatic player's picture library.
#include "tools/make_assets/assets.h"

#include <zlib.h>

#include <cmath>
#include <cstdlib>

#include "tools/autoplay/picture.h"

namespace {

struct Colour {
    double r, g, b, a;
};

const int SUPERSAMPLE = 4;
const double DISC_RADIUS = 0.46;  // of the side
const int RING_COUNT = 5;
const Colour RED = {0.80, 0.10, 0.14, 1};
const Colour CREAM = {0.97, 0.94, 0.88, 1};
const Colour RIM = {0.28, 0.04, 0.06, 1};

Colour mix(const Colour& a, const Colour& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// The backdrop: a dark slate that lightens a little towards the middle.
Colour backdrop(double x, double y)
{
    double d = std::sqrt((x - 0.5) * (x - 0.5) + (y - 0.5) * (y - 0.5));
    double t = std::fmin(1.0, d / 0.7);
    return mix({0.20, 0.26, 0.34, 1}, {0.10, 0.13, 0.18, 1}, t);
}

// The disc at a point given in units of its radius from its centre: the
// ring's colour, thin dark seams between rings, lit as a shallow dome from
// the upper left, with a highlight.
Colour disc(double u, double v)
{
    double d = std::sqrt(u * u + v * v);
    double band = d * RING_COUNT;
    int ring = static_cast<int>(band);
    Colour colour = ring % 2 == 0 ? RED : CREAM;
    if (ring == 0)
        colour = mix(RED, {0.55, 0.02, 0.05, 1}, 0.35);
    double seam = std::fabs(band - std::round(band));
    if (band > 0.5 && seam < 0.06)
        colour = mix(colour, RIM, 0.6 * (1 - seam / 0.06));
    if (d > 0.94)
        colour = mix(colour, RIM, std::fmin(1.0, (d - 0.94) / 0.06));

    double z = std::sqrt(std::fmax(0.0, 1.6 - d * d));
    double nx = u / 1.6, ny = v / 1.6, nz = z / 1.6;
    double lx = -0.45, ly = -0.55, lz = 0.70;
    double diffuse = std::fmax(0.0, nx * lx + ny * ly + nz * lz);
    double light = 0.55 + 0.55 * diffuse;
    double hx = u + 0.38, hy = v + 0.42;
    double highlight = std::exp(-(hx * hx + hy * hy) / 0.05) * 0.45;
    return {std::fmin(1.0, colour.r * light + highlight), std::fmin(1.0, colour.g * light + highlight),
            std::fmin(1.0, colour.b * light + highlight), 1};
}

// One sample: the disc over its shadow over the backdrop (or over nothing).
Colour sample(double x, double y, bool opaque)
{
    Colour under = opaque ? backdrop(x, y) : Colour{0, 0, 0, 0};
    double sx = (x - 0.52) / DISC_RADIUS, sy = (y - 0.54) / DISC_RADIUS;
    double shadow = std::sqrt(sx * sx + sy * sy);
    if (shadow < 1.08)
        under = mix(under, {0, 0, 0, 1}, 0.45 * std::fmin(1.0, (1.08 - shadow) / 0.12));
    double u = (x - 0.5) / DISC_RADIUS, v = (y - 0.5) / DISC_RADIUS;
    if (u * u + v * v < 1)
        return disc(u, v);
    return under;
}

// Top row first; colours with premultiplied coverage undone.
std::vector<Colour> render(int side, bool opaque)
{
    std::vector<Colour> pixels;
    const double n = SUPERSAMPLE * SUPERSAMPLE;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            Colour sum = {0, 0, 0, 0};
            for (int j = 0; j < SUPERSAMPLE; ++j)
                for (int i = 0; i < SUPERSAMPLE; ++i) {
                    Colour c = sample((x + (i + 0.5) / SUPERSAMPLE) / side, (y + (j + 0.5) / SUPERSAMPLE) / side, opaque);
                    sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
                }
            double a = sum.a / n;
            pixels.push_back(a > 0 ? Colour{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, a} : Colour{0, 0, 0, 0});
        }
    return pixels;
}

uint8_t channel(double value)
{
    return static_cast<uint8_t>(std::lround(std::fmin(1.0, std::fmax(0.0, value)) * 255));
}

void put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void put32(std::vector<uint8_t>& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// BITMAPINFOHEADER without colour table.
void put_info_header(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t image_size,
                     uint32_t pixels_per_metre)
{
    put32(out, 40);
    put32(out, width);
    put32(out, height);
    put16(out, 1);
    put16(out, bits);
    put32(out, 0);  // BI_RGB
    put32(out, image_size);
    put32(out, pixels_per_metre);
    put32(out, pixels_per_metre);
    put32(out, 0);
    put32(out, 0);
}

// Blue, green, red (and alpha) bytes, bottom row first; rows of 4-byte
// pixels, and of the 100-pixel target, need no padding.
void put_rows(std::vector<uint8_t>& out, const std::vector<Colour>& pixels, int side, bool alpha)
{
    for (int y = side - 1; y >= 0; --y)
        for (int x = 0; x < side; ++x) {
            const Colour& c = pixels[y * side + x];
            out.push_back(channel(c.b));
            out.push_back(channel(c.g));
            out.push_back(channel(c.r));
            if (alpha)
                out.push_back(channel(c.a));
        }
}

// Icon picture in resource form: 32-bit colour rows, then the 1-bit mask
// (set where the picture is fully transparent), both bottom row first.
std::vector<uint8_t> icon_picture(int side)
{
    std::vector<Colour> pixels = render(side, false);
    const int mask_row = (side + 31) / 32 * 4;
    std::vector<uint8_t> out;
    put_info_header(out, side, side * 2, 32, side * side * 4 + mask_row * side, 0);
    put_rows(out, pixels, side, true);
    for (int y = side - 1; y >= 0; --y) {
        std::vector<uint8_t> row(mask_row, 0);
        for (int x = 0; x < side; ++x)
            if (channel(pixels[y * side + x].a) == 0)
                row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// The large icon picture: an 8-bit RGBA PNG, unpremultiplied, top row
// first. Each row takes the filter whose bytes sum smallest as signed values,
// which is what keeps a smooth drawing small once deflated.
std::vector<uint8_t> icon_png(int side)
{
    std::vector<Colour> pixels = render(side, false);
    const size_t stride = static_cast<size_t>(side) * 4;
    std::vector<uint8_t> raw, previous(stride, 0), filtered;
    for (int y = 0; y < side; ++y) {
        std::vector<uint8_t> row;
        for (int x = 0; x < side; ++x) {
            const Colour& c = pixels[y * side + x];
            for (double v : {c.r, c.g, c.b, c.a})
                row.push_back(channel(v));
        }
        std::vector<uint8_t> best;
        long best_cost = -1;
        for (int filter = 0; filter <= 4; ++filter) {
            std::vector<uint8_t> candidate = {static_cast<uint8_t>(filter)};
            long cost = 0;
            for (size_t i = 0; i < stride; ++i) {
                int left = i >= 4 ? row[i - 4] : 0, up = previous[i], up_left = i >= 4 ? previous[i - 4] : 0;
                const int predictions[] = {0, left, up, (left + up) / 2, png_paeth(left, up, up_left)};
                uint8_t byte = static_cast<uint8_t>(row[i] - predictions[filter]);
                candidate.push_back(byte);
                cost += std::abs(static_cast<int8_t>(byte));
            }
            if (best_cost < 0 || cost < best_cost) {
                best = candidate;
                best_cost = cost;
            }
        }
        raw.insert(raw.end(), best.begin(), best.end());
        previous = row;
    }
    return png_file(side, side, 6, raw, Z_BEST_COMPRESSION);  // RGBA
}

}  // namespace

std::vector<uint8_t> assets_target_bmp()
{
    const int row = TARGET_SIDE * 3;  // 300: already a multiple of 4
    const uint32_t image_size = row * TARGET_SIDE + 2;
    const uint32_t file_size = 54 + image_size;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, file_size);
    put32(out, 0);
    put32(out, 54);
    put_info_header(out, TARGET_SIDE, TARGET_SIDE, 24, image_size, 2834);
    std::vector<Colour> pixels = render(TARGET_SIDE, true);
    put_rows(out, pixels, TARGET_SIDE, false);
    out.push_back(0);  // the two bytes the image size field counts after the rows
    out.push_back(0);
    return out;
}

std::vector<uint8_t> assets_icon()
{
    std::vector<std::vector<uint8_t>> pictures;
    for (int side : ICON_SIDES)
        pictures.push_back(side < 256 ? icon_picture(side) : icon_png(side));
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1);  // icon
    put16(out, ICON_COUNT);
    uint32_t offset = 6 + 16 * ICON_COUNT;
    for (int i = 0; i < ICON_COUNT; ++i) {
        // 256 does not fit the byte: it is written as 0.
        out.push_back(static_cast<uint8_t>(ICON_SIDES[i]));
        out.push_back(static_cast<uint8_t>(ICON_SIDES[i]));
        out.push_back(0);
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<uint32_t>(pictures[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(pictures[i].size());
    }
    for (const auto& picture : pictures)
        out.insert(out.end(), picture.begin(), picture.end());
    return out;
}
