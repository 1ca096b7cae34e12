// Fuzz target of the score-record reader. Inputs are copied into blocks of
// their exact size, so that the address sanitizer sees any read outside them.
#include "tests/game/fuzz/fuzz_targets.h"

#include <cstring>
#include <vector>

#include "game/score_record.h"
#include "tests/support/fuzz_target.h"

int fuzz_score_record(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> file(data, data + size);
    int32_t seconds = 0;
    size_t allocated = fuzz_allocated_bytes();
    ScoreRecordStatus status = score_record_parse(file.data(), file.size(), &seconds);
    fuzz_require(fuzz_allocated_bytes() == allocated);
    fuzz_require(status >= SCORE_RECORD_OK && status <= SCORE_RECORD_BAD_TIME);

    int32_t written = 0;
    if (size)
        memcpy(&written, data, size < 4 ? size : 4);
    unsigned char record[SCORE_RECORD_MAX];
    size_t record_size = score_record_make(written, record);
    std::vector<uint8_t> card(data, data + size);
    card.insert(card.end(), record, record + record_size);
    fuzz_require(score_record_parse(card.data(), card.size(), &seconds) == SCORE_RECORD_OK);
    fuzz_require(seconds == written);
    return 0;
}
