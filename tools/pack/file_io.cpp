// Whole-file reads and writes. A path is looked at through its open stream,
// so what was checked is what is read.
#include "tools/pack/file_io.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

#ifdef _WIN32
typedef struct _stati64 FileFacts;
int file_facts(FILE* file, FileFacts* facts)
{
    return _fstati64(_fileno(file), facts);
}
#else
typedef struct stat FileFacts;
int file_facts(FILE* file, FileFacts* facts)
{
    return fstat(fileno(file), facts);
}
#endif

// Most bytes one vector of ours takes: a 32-bit tool's address space holds
// no more in one block.
const uint64_t READ_ALL_LIMIT = INT32_MAX;

}  // namespace

std::string file_read_explain(FileReadStatus status)
{
    switch (status) {
    case FILE_READ_OK:
        return "read";
    case FILE_READ_CANNOT_OPEN:
        return std::string("cannot be opened: ") + std::strerror(errno);
    case FILE_READ_FOLDER:
        return "is a folder";
    case FILE_READ_NOT_A_FILE:
        return "is not a regular file (a device, a pipe or a socket)";
    case FILE_READ_TOO_LARGE:
        return "is too large";
    case FILE_READ_FAILED:
        return "could not be read to its end";
    }
    return "unknown status";
}

FileReadStatus file_open_regular(const std::string& path, FILE** file, uint64_t* size)
{
    *file = nullptr;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return FILE_READ_CANNOT_OPEN;
    FileFacts facts;
    FileReadStatus status = FILE_READ_OK;
    if (file_facts(f, &facts) != 0)
        status = FILE_READ_FAILED;
    else if ((facts.st_mode & S_IFMT) == S_IFDIR)
        status = FILE_READ_FOLDER;
    else if ((facts.st_mode & S_IFMT) != S_IFREG)
        status = FILE_READ_NOT_A_FILE;
    if (status != FILE_READ_OK) {
        std::fclose(f);
        return status;
    }
    *file = f;
    *size = static_cast<uint64_t>(facts.st_size);
    return FILE_READ_OK;
}

FileReadStatus file_read_limited(const std::string& path, uint64_t limit, std::vector<uint8_t>& out)
{
    out.clear();
    FILE* f;
    uint64_t size;
    FileReadStatus status = file_open_regular(path, &f, &size);
    if (status != FILE_READ_OK)
        return status;
    if (size > limit) {
        std::fclose(f);
        return FILE_READ_TOO_LARGE;
    }
    // The size is only a hint: a file may grow while it is read, and some
    // system files say 0. The limit holds either way.
    out.reserve(static_cast<size_t>(size));
    uint8_t chunk[65536];
    size_t n;
    while (status == FILE_READ_OK && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (n > limit - out.size())
            status = FILE_READ_TOO_LARGE;
        else
            out.insert(out.end(), chunk, chunk + n);
    }
    if (status == FILE_READ_OK && std::ferror(f))
        status = FILE_READ_FAILED;
    std::fclose(f);
    if (status != FILE_READ_OK)
        out.clear();
    return status;
}

bool file_read_all(const std::string& path, std::vector<uint8_t>& out)
{
    return file_read_limited(path, READ_ALL_LIMIT, out) == FILE_READ_OK;
}

bool file_write_all(const std::string& path, const std::vector<uint8_t>& data)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}
