// Skin containers built in memory for the skin tests.
#include "tests/runtime/skin/skin_containers.h"

#include <algorithm>

void set32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        bytes[offset + k] = uint8_t(value >> (8 * k));
}

namespace {

void put32(std::vector<uint8_t>& bytes, uint32_t value)
{
    bytes.resize(bytes.size() + 4);
    set32(bytes, bytes.size() - 4, value);
}

}  // namespace

std::vector<uint8_t> region_data(const std::vector<RECT>& rects)
{
    RECT bound = rects.empty() ? RECT{0, 0, 0, 0} : rects[0];
    for (const RECT& r : rects) {
        bound.left = std::min(bound.left, r.left);
        bound.top = std::min(bound.top, r.top);
        bound.right = std::max(bound.right, r.right);
        bound.bottom = std::max(bound.bottom, r.bottom);
    }
    std::vector<uint8_t> out;
    for (uint32_t v : {32u, 1u, uint32_t(rects.size()), uint32_t(rects.size() * 16)})
        put32(out, v);
    for (const RECT& r : std::vector<RECT>{bound})
        for (LONG v : {r.left, r.top, r.right, r.bottom})
            put32(out, uint32_t(v));
    for (const RECT& r : rects)
        for (LONG v : {r.left, r.top, r.right, r.bottom})
            put32(out, uint32_t(v));
    return out;
}

std::vector<uint8_t> bmp_picture(int32_t width, int32_t height)
{
    uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
    uint32_t image = stride * uint32_t(height) + 2;
    std::vector<uint8_t> out = {'B', 'M'};
    for (uint32_t v : {54 + image, 0u, 54u, 40u, uint32_t(width), uint32_t(height)})
        put32(out, v);
    out.push_back(1);  // planes
    out.push_back(0);
    out.push_back(24);  // bits per pixel
    out.push_back(0);
    for (uint32_t v : {0u, image, 2834u, 2834u, 0u, 0u})
        put32(out, v);
    for (int32_t row = height - 1; row >= 0; --row) {
        size_t start = out.size();
        for (int32_t x = 0; x < width; ++x) {
            out.push_back(0x40);
            out.push_back(uint8_t(row * 11));
            out.push_back(uint8_t(x * 7));
        }
        out.resize(start + stride, 0);
    }
    out.resize(out.size() + 2, 0);
    return out;
}

std::vector<uint8_t> plain_container(const ContainerLayout& layout)
{
    std::vector<uint8_t> region = region_data(layout.rects);
    std::vector<uint8_t> picture;
    if (layout.picture_width > 0)
        picture = bmp_picture(layout.picture_width, layout.picture_height);
    std::vector<uint8_t> out = {'D', 'K', 'P', 'S'};
    uint32_t payload = uint32_t(region.size() + picture.size());
    for (uint32_t v : {layout.version, layout.header_size, 0u, payload, 0u, uint32_t(region.size()), 0u,
                       uint32_t(picture.size()), uint32_t(region.size()), 40u, 30u})
        put32(out, v);
    out.insert(out.end(), region.begin(), region.end());
    out.insert(out.end(), picture.begin(), picture.end());
    return out;
}
