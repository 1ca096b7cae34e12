// The program file's resources as Windows reads them: the version and name in
// its properties and the manifest come from the build's one version number,
// and the icon that window classes load is still resource 1.
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

// The bytes of resource 1 of a type; empty when there is none.
std::string resource(HMODULE program, LPCSTR type)
{
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), type);
    HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(program, found)) : std::string();
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

// The window classes load resource 1; Explorer picks the size it shows from
// the same group, up to the 256 px picture (a PNG), which must load too.
TEST(ProgramResources, IconIsResourceOneAtEverySize)
{
    HMODULE program = LoadLibraryExA(ZORVANT_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    std::string group = resource(program, RT_GROUP_ICON);
    // A 6-byte header with the count, then 14-byte entries whose first byte
    // is the width (0 for 256).
    ASSERT_EQ(group.size(), 6u + 5 * 14);
    EXPECT_EQ(group[4], 5);
    std::vector<int> widths;
    for (size_t at = 6; at < group.size(); at += 14)
        widths.push_back(static_cast<uint8_t>(group[at]));
    EXPECT_EQ(widths, (std::vector<int>{16, 24, 32, 48, 0}));
    for (int side : {32, 256}) {
        HICON icon = static_cast<HICON>(LoadImageA(program, MAKEINTRESOURCEA(1), IMAGE_ICON, side, side, 0));
        ASSERT_NE(icon, nullptr) << side;
        ICONINFO info = {};
        BITMAP colour = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, side);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(program);
}

// What Windows reads before the program starts: its version, no elevation
// and so no file virtualisation (score.png goes where the game puts it or
// nowhere), the systems it was made for, and the code page of its texts on
// any locale; nothing that would change what the game draws.
TEST(ProgramResources, ManifestRunsTheGameAsItIsOnAnyLocale)
{
    HMODULE program = LoadLibraryExA(ZORVANT_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    std::string manifest = resource(program, MAKEINTRESOURCEA(24));
    FreeLibrary(program);
    ASSERT_FALSE(manifest.empty());
    const char* wanted[] = {
        "<assemblyIdentity type=\"win32\" name=\"Zorvant\" version=\"" ZORVANT_VERSION_TEXT ".0\"/>",
        "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">",
        "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        "<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">",
        "<supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>",  // Vista
        "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // 7
        "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",  // 8
        "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",  // 8.1
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // 10 and 11
        "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">ru-RU</activeCodePage>",
    };
    for (const char* part : wanted)
        EXPECT_NE(manifest.find(part), std::string::npos) << part << "\nmissing from:\n" << manifest;
    for (const char* part : {"dpiAware", "Common-Controls"})
        EXPECT_EQ(manifest.find(part), std::string::npos) << part << " in:\n" << manifest;
}
