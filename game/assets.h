// The data the program carries: the skin container and the target picture.
#pragma once

#include <cstdint>

const void* game_skin_container();
uint32_t game_skin_container_size();
const void* game_target_picture();
