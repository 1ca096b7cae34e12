// Reading "score.png" as the game leaves it: a PNG score card followed by the
// scrambled score record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/autoplay/picture.h"

struct ScoreRecord {
    int32_t seconds = -1;
    size_t offset = 0;  // where the record starts in the file
};

struct ScoreFile {
    bool has_record = false;
    ScoreRecord record;
    bool has_card = false;  // a valid PNG that ends exactly where the record starts
    Picture card;
};

// The record at the end of the bytes (game/score_record.h), with a time of
// zero or more seconds. False otherwise.
bool score_record_read(const std::vector<uint8_t>& file, ScoreRecord& record);

// The record and the card in front of it.
ScoreFile score_file_read(const std::vector<uint8_t>& file);
