// The score record that the game appends to "score.png", read back from the
// end of the file: the scrambled tag and time, CR LF and the length byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum ScoreRecordStatus {
    SCORE_RECORD_OK,
    SCORE_RECORD_NO_FILE,         // the file cannot be read
    SCORE_RECORD_TOO_SHORT,       // fewer bytes than the length byte announces
    SCORE_RECORD_BAD_LENGTH,      // a length no record can have
    SCORE_RECORD_NO_LINE_END,     // no CR LF before the length byte
    SCORE_RECORD_BAD_TAG,         // the text does not start with the tag
    SCORE_RECORD_BAD_TIME,        // no decimal 32-bit time after the tag
};

// The tag that starts the plain text, before the decimal time.
extern const char SCORE_TAG[];

// Reads the record at the end of `bytes`; the time goes to `seconds` on
// SCORE_RECORD_OK. Never reads outside the bytes given.
ScoreRecordStatus score_record_parse(const unsigned char* bytes, size_t size, int32_t* seconds);

// The same for a whole file.
ScoreRecordStatus score_record_read_file(const char* path, int32_t* seconds);

// A sentence for the status, for people.
const char* score_record_explain(ScoreRecordStatus status);
