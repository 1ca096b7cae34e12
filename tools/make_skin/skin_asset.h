// The game's skin, made procedurally: a 600 x 620 rounded outline as region
// data and a painted 24-bit picture, packed into a skin container. Integer
// arithmetic only, so every build makes the same bytes.
#pragma once

#include <cstdint>
#include <vector>

const int SKIN_ASSET_WIDTH = 600;
const int SKIN_ASSET_HEIGHT = 620;

// The RGNDATA of the outline: 21 bands, bound 0, 0, 599, 620.
std::vector<uint8_t> skin_asset_region();

// The picture as a BMP file image (bottom-up rows, 2 bytes after the last).
std::vector<uint8_t> skin_asset_picture();

// The complete skin container, payload packed.
std::vector<uint8_t> skin_asset_container();
