// Reading "score.png" as the game leaves it: a PNG score card followed by the
// scrambled score record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/autoplay/picture.h"

extern const char SCORE_TAG[];

struct ScoreRecord {
    std::string plain;  // the unscrambled text: the tag and the seconds
    int32_t seconds = -1;
    size_t offset = 0;  // where the record starts in the file
};

struct ScoreFile {
    bool has_record = false;
    ScoreRecord record;
    bool has_card = false;  // a valid PNG that ends exactly where the record starts
    Picture card;
};

// The record at the end of the bytes: the last byte N, CR LF before it, and
// the N scrambled bytes before those, each one less than the plain byte. The
// plain text must be the tag and a decimal number. False otherwise.
bool score_record_read(const std::vector<uint8_t>& file, ScoreRecord& record);

// The record and the card in front of it.
ScoreFile score_file_read(const std::vector<uint8_t>& file);
