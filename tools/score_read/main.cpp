// score_read: prints the time, in seconds, of the score record at the end of
// a score card file ("score.png" in the working directory unless named).
// Exit status 0 with the time, 1 for a missing or damaged record, 2 for a
// file that cannot be read.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "game/score_record.h"

namespace {

ScoreRecordStatus read_file(const char* path, int32_t* seconds)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return SCORE_RECORD_NO_FILE;
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return SCORE_RECORD_NO_FILE;
    return score_record_parse(bytes.data(), bytes.size(), seconds);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        fprintf(stderr, "usage: score_read [file]\n");
        return 2;
    }
    const char* path = argc == 2 ? argv[1] : "score.png";
    int32_t seconds = 0;
    ScoreRecordStatus status = read_file(path, &seconds);
    if (status != SCORE_RECORD_OK) {
        fprintf(stderr, "score_read: %s: %s\n", path, score_record_explain(status));
        return status == SCORE_RECORD_NO_FILE ? 2 : 1;
    }
    printf("%d\n", static_cast<int>(seconds));
    return 0;
}
