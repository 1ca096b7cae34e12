// The score card of a finished game: a 100 x 100 picture of its time, saved
// as "score.png", with the scrambled score record appended to that file.
#pragma once

#include <cstdint>

// Renders the card for a finished game, saves it as "score.png" and appends
// the scrambled score record.
void score_card_write(int32_t seconds);
