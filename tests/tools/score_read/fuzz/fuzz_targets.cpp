// Fuzz target of the score-record reader. Inputs are copied into blocks of
// their exact size, so that the address sanitizer sees any read outside them.
#include "tests/tools/score_read/fuzz/fuzz_targets.h"

#include <cstring>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_support.h"
#include "tools/score_read/score_record.h"

namespace {

// The record the game appends for `seconds`: the tag and the decimal time,
// each byte lowered by one, CR LF, and the text's length.
std::vector<uint8_t> record_written(int32_t seconds)
{
    std::string plain = SCORE_TAG + std::to_string(seconds);
    std::vector<uint8_t> record;
    for (char c : plain)
        record.push_back(uint8_t(c - 1));
    record.insert(record.end(), {0x0D, 0x0A, uint8_t(plain.size())});
    return record;
}

}  // namespace

int fuzz_score_record(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> file(data, data + size);
    int32_t seconds = 0;
    size_t allocated = fuzz_allocated_bytes();
    ScoreRecordStatus status = score_record_parse(file.data(), file.size(), &seconds);
    fuzz_require(fuzz_allocated_bytes() == allocated);
    fuzz_require(status >= SCORE_RECORD_OK && status <= SCORE_RECORD_BAD_TIME && status != SCORE_RECORD_NO_FILE);

    int32_t written = 0;
    if (size)
        memcpy(&written, data, size < 4 ? size : 4);
    std::vector<uint8_t> record = record_written(written);
    std::vector<uint8_t> card(size + record.size());
    if (size)
        memcpy(card.data(), data, size);
    memcpy(card.data() + size, record.data(), record.size());
    fuzz_require(score_record_parse(card.data(), card.size(), &seconds) == SCORE_RECORD_OK);
    fuzz_require(seconds == written);
    return 0;
}
