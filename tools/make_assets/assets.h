// The program's picture assets, drawn procedurally so that they can be made
// again byte for byte: the target picture (a BMP file image) and the
// program's icon (an icon file image with the same drawing at every size that
// Windows shows: 32-bit pictures in resource form, the largest as a PNG).
#pragma once

#include <cstdint>
#include <vector>

const int TARGET_SIDE = 100;
const int ICON_COUNT = 5;
const int ICON_SIDES[ICON_COUNT] = {16, 24, 32, 48, 256};

std::vector<uint8_t> assets_target_bmp();
std::vector<uint8_t> assets_icon();
