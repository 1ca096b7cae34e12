// Reading the score record: the last byte N, CR LF before it, and before
// those N bytes, each the plain byte minus one: the tag, then the time in
// decimal (an optional minus sign and up to ten digits).
#include "tools/score_read/score_record.h"

#include <fstream>
#include <iterator>
#include <vector>

const char SCORE_TAG[] = "quendrilavo5_";

namespace {

const size_t TAG_LENGTH = sizeof SCORE_TAG - 1;
// The tag and "-2147483648".
const size_t LONGEST_TEXT = TAG_LENGTH + 11;

ScoreRecordStatus parse_time(const std::string& digits, int32_t* seconds)
{
    size_t at = 0;
    bool negative = !digits.empty() && digits[0] == '-';
    if (negative)
        at = 1;
    if (at == digits.size() || digits.size() - at > 10)
        return SCORE_RECORD_BAD_TIME;
    int64_t value = 0;
    for (; at < digits.size(); ++at) {
        if (digits[at] < '0' || digits[at] > '9')
            return SCORE_RECORD_BAD_TIME;
        value = value * 10 + (digits[at] - '0');
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return SCORE_RECORD_BAD_TIME;
    *seconds = static_cast<int32_t>(value);
    return SCORE_RECORD_OK;
}

}  // namespace

ScoreRecordStatus score_record_parse(const unsigned char* bytes, size_t size, int32_t* seconds)
{
    if (size < 3)
        return SCORE_RECORD_TOO_SHORT;
    size_t length = bytes[size - 1];
    if (length <= TAG_LENGTH || length > LONGEST_TEXT)
        return SCORE_RECORD_BAD_LENGTH;
    if (size < length + 3)
        return SCORE_RECORD_TOO_SHORT;
    if (bytes[size - 3] != 0x0D || bytes[size - 2] != 0x0A)
        return SCORE_RECORD_NO_LINE_END;
    std::string plain;
    for (size_t i = size - 3 - length; i < size - 3; ++i)
        plain += static_cast<char>(bytes[i] + 1);
    if (plain.compare(0, TAG_LENGTH, SCORE_TAG) != 0)
        return SCORE_RECORD_BAD_TAG;
    return parse_time(plain.substr(TAG_LENGTH), seconds);
}

ScoreRecordStatus score_record_read_file(const char* path, int32_t* seconds)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return SCORE_RECORD_NO_FILE;
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return SCORE_RECORD_NO_FILE;
    return score_record_parse(bytes.data(), bytes.size(), seconds);
}

const char* score_record_explain(ScoreRecordStatus status)
{
    switch (status) {
    case SCORE_RECORD_OK:
        return "the record is whole";
    case SCORE_RECORD_NO_FILE:
        return "the file cannot be read";
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
