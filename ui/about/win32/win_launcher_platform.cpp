#include "ui/about/win32/win_launcher_platform.h"

#include "ui/about/core/app_info.h"
#include "ui/common/win32/win_form.h"

#include <windows.h>

#include <string>

namespace tamlo {

namespace {

HKEY ToHkey(RegKey key) {
    // The predefined root is a sign-extended 32-bit value in a 64-bit handle.
    return key == kHkeyLocalMachine ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(key);
}

} // namespace

long WinLauncherPlatform::OpenKey(RegKey root, const std::string& subKey, std::uint32_t options,
                                  std::uint32_t samDesired, RegKey* result) {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(ToHkey(root), subKey.c_str(), options, samDesired, &opened);
    if (status == ERROR_SUCCESS) {
        *result = reinterpret_cast<RegKey>(opened);
    }
    return status;
}

long WinLauncherPlatform::QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                                     unsigned char* data, std::uint32_t* dataSize) {
    DWORD valueType = REG_NONE;
    DWORD size = dataSize != nullptr ? *dataSize : 0;
    const LONG status = ::RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &valueType,
                                           data, dataSize != nullptr ? &size : nullptr);
    if (type != nullptr) {
        *type = valueType;
    }
    if (dataSize != nullptr) {
        *dataSize = size;
    }
    return status;
}

long WinLauncherPlatform::CloseKey(RegKey key) {
    return ::RegCloseKey(ToHkey(key));
}

bool WinLauncherPlatform::IsOrdinaryFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool WinLauncherPlatform::StartProgram(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    // The program is named exactly; the command line only repeats it, quoted, as the
    // program's own name, so nothing is ever split at a space.
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

void WinLauncherPlatform::ShowMessage(const std::string& text) {
    ::MessageBoxW(static_cast<HWND>(owner_), WinForm::Wide(text).c_str(),
                  WinForm::Wide(AppInfo::Title).c_str(), MB_OK);
}

} // namespace tamlo
