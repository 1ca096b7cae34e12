// Visual-style detection: the common-controls version, read once, and whether
// the application is themed with version 6 or later.
#include "runtime/gui/theme.h"

#include <windows.h>
#include <shlwapi.h>
#include <cstring>

namespace {

int32_t comctl_version;
int32_t themed;

template <typename Fn>
Fn entry_point(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int32_t comctl_version_read()
{
    HMODULE comctl = LoadLibraryA("COMCTL32.DLL");
    if (!comctl)
        return 0;
    // A library without the entry point predates version numbers: 1. A failed
    // call leaves the version unknown (0), to be asked again.
    int32_t version = 1;
    DLLGETVERSIONPROC get_version = entry_point<DLLGETVERSIONPROC>(comctl, "DllGetVersion");
    if (get_version) {
        DLLVERSIONINFO info;
        std::memset(&info, 0, sizeof info);
        info.cbSize = sizeof info;
        version = get_version(&info) >= 0
                      ? static_cast<int32_t>((info.dwMajorVersion & 0xFFFF) << 16 | (info.dwMinorVersion & 0xFFFF))
                      : 0;
    }
    FreeLibrary(comctl);
    return version;
}

}  // namespace

// Wine 8 loads the side-by-side version 6 library for a program whose manifest
// asks for it, but that library still reports 5.81, so `themed` stays 0 there.
int32_t theme_detect()
{
    if (comctl_version)
        return comctl_version;
    comctl_version = comctl_version_read();
    HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    if (uxtheme) {
        typedef BOOL(WINAPI * IsAppThemedFn)();
        IsAppThemedFn is_app_themed = entry_point<IsAppThemedFn>(uxtheme, "IsAppThemed");
        if (is_app_themed)
            themed = is_app_themed() && comctl_version >= 0x60000 ? 1 : 0;
        FreeLibrary(uxtheme);
    }
    return comctl_version;
}

int32_t gadget_themed() { return themed; }
