// A folder of its own under the temporary directory, for tests that write
// real files: the files named through it and the folder are removed at the
// end, and files are read back past any sharing the library under test asks.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TempFolder {
public:
    explicit TempFolder(const char* prefix)
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + prefix + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    ~TempFolder()
    {
        for (const std::string& name : made_)
            DeleteFileA(name.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& folder() const { return folder_; }
    // The full name of a file in the folder, removed at the end.
    std::string path(const char* name)
    {
        made_.push_back(folder_ + "\\" + name);
        return made_.back();
    }
    // The file's bytes now, or "<missing>".
    static std::string read(const std::string& name)
    {
        HANDLE h = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return "<missing>";
        std::string bytes(GetFileSize(h, nullptr), '\0');
        DWORD read = 0;
        if (!bytes.empty())
            ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(h);
        return bytes;
    }
    static bool exists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    std::string folder_;
    std::vector<std::string> made_;
};
