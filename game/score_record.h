// The score record that the game appends to "score.png" behind the card: the
// tag and the time in decimal, each byte lowered by one, CR LF, and one byte
// holding the length of that text. Platform-free: the game writes it, the
// tools read it back from the end of the file.
#pragma once

#include <cstddef>
#include <cstdint>

// The tag that starts the plain text, before the decimal time.
extern const char SCORE_TAG[];
const size_t SCORE_TAG_LENGTH = 13;
// The longest text: the tag and "-2147483648".
const size_t SCORE_TEXT_MAX = SCORE_TAG_LENGTH + 11;
// The longest record: the text, CR LF and the length byte.
const size_t SCORE_RECORD_MAX = SCORE_TEXT_MAX + 3;

// The scrambled text of `seconds`, zero-terminated in `out`; its length N.
// No byte of it is zero (every plain byte is at least '-').
size_t score_record_text(int32_t seconds, char out[SCORE_TEXT_MAX + 1]);

// The whole record of `seconds` in `out`: the scrambled text, CR LF and N.
// Its length, N + 3.
size_t score_record_make(int32_t seconds, unsigned char out[SCORE_RECORD_MAX]);

enum ScoreRecordStatus {
    SCORE_RECORD_OK,
    SCORE_RECORD_TOO_SHORT,       // fewer bytes than the length byte announces
    SCORE_RECORD_BAD_LENGTH,      // a length no record can have
    SCORE_RECORD_NO_LINE_END,     // no CR LF before the length byte
    SCORE_RECORD_BAD_TAG,         // the text does not start with the tag
    SCORE_RECORD_BAD_TIME,        // after the tag, not a time as the game writes it
};

// Reads the record at the end of `bytes`; the time goes to `seconds` on
// SCORE_RECORD_OK. The time must be written as the game writes it: decimal,
// no leading zeros, a minus sign only before a non-zero value. Never reads
// outside the bytes given. A record of OK status starts at
// size - 3 - bytes[size - 1].
ScoreRecordStatus score_record_parse(const unsigned char* bytes, size_t size, int32_t* seconds);

// A sentence for the status, for people.
const char* score_record_explain(ScoreRecordStatus status);
