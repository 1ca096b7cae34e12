// The score record: made for the game, read back from the end of a file for
// the tools. The time's text is the runtime's decimal form, so the reader
// accepts exactly the texts the game can write.
#include "game/score_record.h"

#include <cstring>

#include "runtime/core/text.h"

const char SCORE_TAG[] = "quendrilavo5_";
static_assert(sizeof SCORE_TAG - 1 == SCORE_TAG_LENGTH, "the tag is 13 bytes");

namespace {

// Each byte is stored as (x + 255) modulo 256, that is x - 1.
char scramble(char plain)
{
    return char((static_cast<unsigned char>(plain) + 255) & 0xFF);
}

char unscramble(unsigned char stored)
{
    return char((stored + 1) & 0xFF);
}

}  // namespace

size_t score_record_text(int32_t seconds, char out[SCORE_TEXT_MAX + 1])
{
    memcpy(out, SCORE_TAG, SCORE_TAG_LENGTH);
    size_t length = SCORE_TAG_LENGTH + size_t(text_format_int(out + SCORE_TAG_LENGTH, seconds));
    for (size_t i = 0; i < length; ++i)
        out[i] = scramble(out[i]);
    return length;
}

size_t score_record_make(int32_t seconds, unsigned char out[SCORE_RECORD_MAX])
{
    char text[SCORE_TEXT_MAX + 1];
    size_t n = score_record_text(seconds, text);
    memcpy(out, text, n);
    out[n] = 0x0D;
    out[n + 1] = 0x0A;
    out[n + 2] = static_cast<unsigned char>(n);
    return n + 3;
}

ScoreRecordStatus score_record_parse(const unsigned char* bytes, size_t size, int32_t* seconds)
{
    if (size < 3)
        return SCORE_RECORD_TOO_SHORT;
    size_t length = bytes[size - 1];
    if (length <= SCORE_TAG_LENGTH || length > SCORE_TEXT_MAX)
        return SCORE_RECORD_BAD_LENGTH;
    if (size < length + 3)
        return SCORE_RECORD_TOO_SHORT;
    if (bytes[size - 3] != 0x0D || bytes[size - 2] != 0x0A)
        return SCORE_RECORD_NO_LINE_END;
    char plain[SCORE_TEXT_MAX];
    const unsigned char* stored = bytes + size - 3 - length;
    for (size_t i = 0; i < length; ++i)
        plain[i] = unscramble(stored[i]);
    if (memcmp(plain, SCORE_TAG, SCORE_TAG_LENGTH) != 0)
        return SCORE_RECORD_BAD_TAG;

    // The time's own decimal form must be the text: a number, no leading
    // zeros, no "-0". At most 11 characters, so the value cannot overflow.
    const char* time = plain + SCORE_TAG_LENGTH;
    const char* end = plain + length;
    const char* p = time + (*time == '-');
    if (p == end)
        return SCORE_RECORD_BAD_TIME;
    int64_t value = 0;
    for (; p < end; ++p) {
        if (*p < '0' || *p > '9')
            return SCORE_RECORD_BAD_TIME;
        value = value * 10 + (*p - '0');
    }
    if (*time == '-')
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return SCORE_RECORD_BAD_TIME;
    char canonical[TEXT_INT_SIZE];
    size_t canonical_length = size_t(text_format_int(canonical, int32_t(value)));
    if (canonical_length != size_t(end - time) || memcmp(canonical, time, canonical_length) != 0)
        return SCORE_RECORD_BAD_TIME;
    *seconds = int32_t(value);
    return SCORE_RECORD_OK;
}

const char* score_record_explain(ScoreRecordStatus status)
{
    switch (status) {
    case SCORE_RECORD_OK:
        return "the record is whole";
    case SCORE_RECORD_TOO_SHORT:
        return "no score record: the file is shorter than the record it announces";
    case SCORE_RECORD_BAD_LENGTH:
        return "no score record: the last byte is not a record length";
    case SCORE_RECORD_NO_LINE_END:
        return "damaged score record: no CR LF before the length byte";
    case SCORE_RECORD_BAD_TAG:
        return "damaged score record: the tag is wrong";
    case SCORE_RECORD_BAD_TIME:
        return "damaged score record: the time is not a decimal number";
    }
    return "unknown status";
}
