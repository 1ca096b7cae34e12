// score_read: prints the time, in seconds, of the score record at the end of
// a score card file ("score.png" in the working directory unless named).
// Only the file's last bytes are read, where the record lives, so a file of
// any size is answered at once.
//
// Exit status: 0 with the time; 1 no record, or a damaged one; 2 a wrong
// command line, or a file that cannot be opened (missing or unreadable);
// 3 a folder; 4 not a regular file (a device, a pipe); 5 an empty file;
// 6 a read error.
#include <cstdio>

#include "game/score_record.h"
#include "tools/pack/file_io.h"

namespace {

enum Exit { EXIT_TIME, EXIT_NO_RECORD, EXIT_CANNOT_OPEN, EXIT_FOLDER, EXIT_NOT_A_FILE, EXIT_EMPTY, EXIT_READ_ERROR };

Exit exit_for(FileReadStatus status)
{
    switch (status) {
    case FILE_READ_FOLDER:
        return EXIT_FOLDER;
    case FILE_READ_NOT_A_FILE:
        return EXIT_NOT_A_FILE;
    case FILE_READ_CANNOT_OPEN:
        return EXIT_CANNOT_OPEN;
    default:
        return EXIT_READ_ERROR;
    }
}

// The last `count` bytes of a file of `size` bytes.
bool read_tail(FILE* file, uint64_t size, unsigned char* bytes, size_t count)
{
    return fseeko(file, off_t(size - count), SEEK_SET) == 0 && fread(bytes, 1, count, file) == count;
}

int report(const char* path, const char* what, Exit code)
{
    fprintf(stderr, "score_read: %s: %s\n", path, what);
    return code;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        fprintf(stderr, "usage: score_read [file]\n");
        return EXIT_CANNOT_OPEN;
    }
    const char* path = argc == 2 ? argv[1] : "score.png";
    FILE* file;
    uint64_t size;
    FileReadStatus status = file_open_regular(path, &file, &size);
    if (status != FILE_READ_OK)
        return report(path, file_read_explain(status).c_str(), exit_for(status));
    unsigned char tail[SCORE_RECORD_MAX];
    size_t count = size < SCORE_RECORD_MAX ? size_t(size) : SCORE_RECORD_MAX;
    bool read = count == 0 || read_tail(file, size, tail, count);
    fclose(file);
    if (!read)
        return report(path, file_read_explain(FILE_READ_FAILED).c_str(), EXIT_READ_ERROR);
    if (size == 0)
        return report(path, "is empty", EXIT_EMPTY);
    int32_t seconds = 0;
    ScoreRecordStatus record = score_record_parse(tail, count, &seconds);
    if (record != SCORE_RECORD_OK)
        return report(path, score_record_explain(record), EXIT_NO_RECORD);
    printf("%d\n", static_cast<int>(seconds));
    return EXIT_TIME;
}
