// The program file's resources as Windows reads them: the version and name in
// its properties come from the build's one version number, and the icon that
// window classes load is still resource 1.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/version.h"

namespace {

std::vector<char> version_info()
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(ZORVANT_EXE, &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(ZORVANT_EXE, 0, size, data.data()))
        data.clear();
    return data;
}

std::string version_text(std::vector<char>& data, const char* name)
{
    std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "(missing)";
    return std::string(value);
}

}  // namespace

TEST(ProgramResources, VersionNumbersAreTheBuilds)
{
    std::vector<char> data = version_info();
    ASSERT_FALSE(data.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const WORD expected[4] = {ZORVANT_VERSION_NUMBERS};
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD(MAKELONG(expected[1], expected[0])));
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD(MAKELONG(expected[3], expected[2])));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
}

TEST(ProgramResources, PropertiesNameTheProductAndItsVersion)
{
    std::vector<char> data = version_info();
    ASSERT_FALSE(data.empty());
    // Explorer finds the texts through the translation the file announces.
    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);
    EXPECT_EQ(version_text(data, "ProductName"), "Zorvant");
    EXPECT_EQ(version_text(data, "FileVersion"), ZORVANT_VERSION_TEXT);
    EXPECT_EQ(version_text(data, "ProductVersion"), ZORVANT_VERSION_TEXT);
    EXPECT_EQ(version_text(data, "OriginalFilename"), "zorvant.exe");
    EXPECT_NE(version_text(data, "FileDescription"), "(missing)");
}

TEST(ProgramResources, IconIsResourceOne)
{
    HMODULE program = LoadLibraryExA(ZORVANT_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HICON icon = static_cast<HICON>(LoadImageA(program, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    EXPECT_NE(icon, nullptr);
    if (icon)
        DestroyIcon(icon);
    FreeLibrary(program);
}
