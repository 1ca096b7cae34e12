// The program's picture assets, drawn procedurally so that they can be made
// again byte for byte: the target picture (a BMP file image) and the
// program's icon (an icon file image with 16 x 16 and 32 x 32 pictures).
#pragma once

#include <cstdint>
#include <vector>

const int TARGET_SIDE = 100;

std::vector<uint8_t> assets_target_bmp();
std::vector<uint8_t> assets_icon();
