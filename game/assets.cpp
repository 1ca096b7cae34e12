// The embedded assets, linked in from assets/ by the build.
#include "game/assets.h"

extern "C" const unsigned char zorvant_skin[];
extern "C" const uint32_t zorvant_skin_size;
extern "C" const unsigned char zorvant_target[];

const void* game_skin_container() { return zorvant_skin; }
uint32_t game_skin_container_size() { return zorvant_skin_size; }
const void* game_target_picture() { return zorvant_target; }
