// A folder of its own under the temporary folder, for a test that writes real
// files: everything in it goes with it at the end, and files are read back
// past any sharing that the code under test asks for.
#pragma once

#include <string>

class TempFolder {
public:
    // <temporary folder>\<name>_<process id>, made now.
    explicit TempFolder(const std::string& name);
    // Deletes the files in the folder, its empty subfolders and the folder,
    // unless it is kept.
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& folder() const { return folder_; }
    // The full name of an entry of the folder.
    std::string path(const std::string& name) const { return folder_ + "\\" + name; }
    // Leaves the folder on disk, for a look at a failed test's files.
    void keep() { kept_ = true; }

    // The file's bytes now, or "<missing>".
    static std::string read(const std::string& file);
    static bool exists(const std::string& file);

private:
    std::string folder_;
    bool kept_ = false;
};
