// Reading "score.png": the card and the record behind it.
#include "tools/autoplay/score_file.h"

#include "game/score_record.h"

bool score_record_read(const std::vector<uint8_t>& file, ScoreRecord& record)
{
    int32_t seconds = 0;
    if (score_record_parse(file.data(), file.size(), &seconds) != SCORE_RECORD_OK || seconds < 0)
        return false;
    record.seconds = seconds;
    record.offset = file.size() - 3 - file.back();
    return true;
}

ScoreFile score_file_read(const std::vector<uint8_t>& file)
{
    ScoreFile score;
    score.has_record = score_record_read(file, score.record);
    size_t end = 0;
    score.has_card = score.has_record && png_decode(file, score.card, end) && end == score.record.offset;
    return score;
}
