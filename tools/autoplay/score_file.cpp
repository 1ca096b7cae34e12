// Reading "score.png": the card and the record behind it.
#include "tools/autoplay/score_file.h"

#include <cstring>

#include "tools/autoplay/texts.h"

const char SCORE_TAG[] = "quendrilavo5_";

bool score_record_read(const std::vector<uint8_t>& file, ScoreRecord& record)
{
    const size_t tag = std::strlen(SCORE_TAG);
    if (file.size() < 3)
        return false;
    const size_t n = file.back();
    if (n < tag + 1 || file.size() < n + 3 || file[file.size() - 3] != 0x0D || file[file.size() - 2] != 0x0A)
        return false;
    record.offset = file.size() - n - 3;
    record.plain.clear();
    for (size_t i = 0; i < n; i++)
        record.plain.push_back(static_cast<char>(file[record.offset + i] + 1));
    if (record.plain.compare(0, tag, SCORE_TAG) != 0)
        return false;
    size_t pos = tag;
    record.seconds = decimal_read(record.plain, pos);
    return record.seconds >= 0 && pos == n;
}

ScoreFile score_file_read(const std::vector<uint8_t>& file)
{
    ScoreFile score;
    score.has_record = score_record_read(file, score.record);
    size_t end = 0;
    score.has_card = score.has_record && png_decode(file, score.card, end) && end == score.record.offset;
    return score;
}
