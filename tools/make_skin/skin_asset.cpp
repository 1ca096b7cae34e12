// The game's skin: the outline's bands, the painted picture (a night-sky
// gradient with soft glowing discs and sparkles above a quiet bottom strip
// for the clock, the progress bar and the exit button) and the container.
#include "tools/make_skin/skin_asset.h"

#include "tools/pack/pack.h"

namespace {

const int CORNER_ROWS = 14;
const int CORNER_RADIUS = 16;
const int REGION_RIGHT = 599;
const int STRIP_TOP = 600;  // the bottom strip holds the game's gadgets
const int BMP_HEADERS = 54;
const int ROW_BYTES = SKIN_ASSET_WIDTH * 3;
const int PICTURE_TAIL = 2;  // two bytes after the last row, counted in the image size
// The sky changes colour every SKY_STEP rows and the discs' rings every
// RING_STEP rows: whole rows repeat, which the packer turns into one cheap
// match each, and the stepped rings give the picture its pixel-art look.
const int SKY_STEP = 6;
const int RING_STEP = 3;

struct Rgb {
    int r, g, b;
};

struct Disc {
    int cx, cy, radius;
    Rgb colour;
    int strength;  // of 256 at the centre
};

const Rgb SKY_TOP = {22, 28, 76};
const Rgb SKY_BOTTOM = {78, 28, 106};
const Rgb STRIP = {20, 17, 42};
const Rgb STRIP_EDGE = {118, 96, 200};
const Rgb STRIP_SHADOW = {36, 30, 74};
const Rgb WHITE = {255, 255, 255};

const Disc DISCS[] = {
    {120, 130, 170, {255, 92, 176}, 150}, {505, 190, 130, {64, 206, 255}, 160},
    {430, 470, 180, {255, 188, 72}, 120}, {130, 450, 95, {146, 112, 255}, 170},
    {300, 300, 70, {255, 255, 255}, 40},  {560, 560, 60, {64, 206, 255}, 110},
};

int isqrt(int v)
{
    int r = 0;
    while ((r + 1) * (r + 1) <= v)
        ++r;
    return r;
}

Rgb mix(Rgb a, Rgb b, int t, int scale)
{
    return {a.r + (b.r - a.r) * t / scale, a.g + (b.g - a.g) * t / scale, a.b + (b.b - a.b) * t / scale};
}

// Colours change in steps (bands of the sky, rings of the discs), so that
// runs and rows repeat.
Rgb paint(int x, int y)
{
    if (y >= STRIP_TOP)
        return y == STRIP_TOP ? STRIP_EDGE : y == STRIP_TOP + 1 ? STRIP_SHADOW : STRIP;
    Rgb c = mix(SKY_TOP, SKY_BOTTOM, y / SKY_STEP * SKY_STEP, STRIP_TOP);
    for (const Disc& d : DISCS) {
        int dx = x - d.cx, dy = y / RING_STEP * RING_STEP - d.cy;
        int r2 = d.radius * d.radius;
        int d2 = dx * dx + dy * dy;
        if (d2 >= r2)
            continue;
        int level = (r2 - d2) * 8 / r2;  // 0 at the rim, 7 at the centre
        c = mix(c, d.colour, level * level * d.strength / 49, 256);
    }
    return c;
}

// Four-pointed sparkles at places from a small linear congruential sequence.
void add_sparkles(std::vector<Rgb>& pixels)
{
    uint32_t seed = 20261208;
    for (int i = 0; i < 36; ++i) {
        seed = seed * 1664525u + 1013904223u;
        int x = 20 + int(seed >> 8) % (SKIN_ASSET_WIDTH - 40);
        seed = seed * 1664525u + 1013904223u;
        int y = 24 + int(seed >> 8) % (STRIP_TOP - 48);
        int arm = 1 + i % 3;
        pixels[y * SKIN_ASSET_WIDTH + x] = WHITE;
        for (int k = 1; k <= arm; ++k) {
            int t = 256 * (arm + 1 - k) / (arm + 2);
            const int arms[4][2] = {{-k, 0}, {k, 0}, {0, -k}, {0, k}};
            for (const auto& a : arms) {
                Rgb& px = pixels[(y + a[1]) * SKIN_ASSET_WIDTH + x + a[0]];
                px = mix(px, WHITE, t, 256);
            }
        }
    }
}

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void put_rect(std::vector<uint8_t>& out, int left, int top, int right, int bottom)
{
    for (int v : {left, top, right, bottom})
        put32(out, uint32_t(v));
}

// Left (and right) inset of a corner row: a circle of radius 16 whose top
// 14 rows round the corner, so no row of the corner is square.
int corner_inset(int row)
{
    int dy = CORNER_RADIUS - row;
    return CORNER_RADIUS - isqrt(CORNER_RADIUS * CORNER_RADIUS - dy * dy);
}

}  // namespace

std::vector<uint8_t> skin_asset_region()
{
    // Bands of equal inset, top corners down, then the body, then the bottom
    // corners mirrored.
    struct Band {
        int inset, top, bottom;
    };
    std::vector<Band> top;
    for (int row = 0; row < CORNER_ROWS; ++row) {
        if (!top.empty() && top.back().inset == corner_inset(row))
            top.back().bottom = row + 1;
        else
            top.push_back({corner_inset(row), row, row + 1});
    }
    std::vector<Band> bands = top;
    bands.push_back({0, CORNER_ROWS, SKIN_ASSET_HEIGHT - CORNER_ROWS});
    for (auto b = top.rbegin(); b != top.rend(); ++b)
        bands.push_back({b->inset, SKIN_ASSET_HEIGHT - b->bottom, SKIN_ASSET_HEIGHT - b->top});

    std::vector<uint8_t> out;
    put32(out, 32);  // dwSize
    put32(out, 1);   // RDH_RECTANGLES
    put32(out, uint32_t(bands.size()));
    put32(out, uint32_t(bands.size() * 16));
    put_rect(out, 0, 0, REGION_RIGHT, SKIN_ASSET_HEIGHT);
    for (const Band& b : bands)
        put_rect(out, b.inset, b.top, REGION_RIGHT - b.inset, b.bottom);
    return out;
}

std::vector<uint8_t> skin_asset_picture()
{
    std::vector<Rgb> pixels;
    pixels.reserve(SKIN_ASSET_WIDTH * SKIN_ASSET_HEIGHT);
    for (int y = 0; y < SKIN_ASSET_HEIGHT; ++y)
        for (int x = 0; x < SKIN_ASSET_WIDTH; ++x)
            pixels.push_back(paint(x, y));
    add_sparkles(pixels);

    const uint32_t image_size = ROW_BYTES * SKIN_ASSET_HEIGHT + PICTURE_TAIL;
    std::vector<uint8_t> out = {'B', 'M'};
    put32(out, BMP_HEADERS + image_size);
    put32(out, 0);  // reserved words
    put32(out, BMP_HEADERS);
    put32(out, 40);
    put32(out, SKIN_ASSET_WIDTH);
    put32(out, SKIN_ASSET_HEIGHT);
    put16(out, 1);   // planes
    put16(out, 24);  // bits per pixel
    put32(out, 0);   // BI_RGB
    put32(out, image_size);
    put32(out, 2834);  // 72 dots per inch, both ways
    put32(out, 2834);
    put32(out, 0);
    put32(out, 0);
    for (int y = SKIN_ASSET_HEIGHT - 1; y >= 0; --y) {
        for (int x = 0; x < SKIN_ASSET_WIDTH; ++x) {
            const Rgb& p = pixels[y * SKIN_ASSET_WIDTH + x];
            out.push_back(uint8_t(p.b));
            out.push_back(uint8_t(p.g));
            out.push_back(uint8_t(p.r));
        }
    }
    out.insert(out.end(), PICTURE_TAIL, 0);
    return out;
}

std::vector<uint8_t> skin_asset_container()
{
    std::vector<uint8_t> region = skin_asset_region();
    std::vector<uint8_t> payload = region;
    std::vector<uint8_t> picture = skin_asset_picture();
    payload.insert(payload.end(), picture.begin(), picture.end());
    std::vector<uint8_t> block = pack_block(payload.data(), payload.size());

    std::vector<uint8_t> out = {'D', 'K', 'P', 'S'};
    for (uint32_t v : {1u, 48u, 1u, uint32_t(payload.size()), uint32_t(block.size()), uint32_t(region.size()), 0u,
                       uint32_t(picture.size()), uint32_t(region.size()), uint32_t(SKIN_ASSET_WIDTH),
                       uint32_t(SKIN_ASSET_HEIGHT)})
        put32(out, v);
    out.insert(out.end(), block.begin(), block.end());
    return out;
}
