#pragma once

#include <cstdint>
#include <string>

namespace tamlo {

// A registry key handle as the launcher sees it: the predefined root below, or whatever an open
// call handed out.
using RegKey = std::uintptr_t;

inline constexpr RegKey kHkeyLocalMachine = 0x80000002;

// Result codes of the registry calls.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorMoreData = 234;

// Value type codes.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// Access rights. The launcher only reads, so it asks for read access and nothing more: write
// access to the machine's keys is refused to every user who is not an administrator.
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyCreateLink = 0x0020;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWriteRights = kKeySetValue | kKeyCreateSubKey | kKeyCreateLink |
                                                 0x000D0000; // + DELETE, WRITE_DAC, WRITE_OWNER

// What the launcher needs of the system: a read-only registry in the shape of the ANSI registry
// calls, a test for an ordinary file, a way to start a program and a modal message box. Texts
// are byte texts in the system's narrow encoding.
class LauncherPlatform {
public:
    virtual ~LauncherPlatform() = default;

    // The three registry calls take the arguments and give the results of RegOpenKeyExA,
    // RegQueryValueExA (without its reserved argument) and RegCloseKey.
    // Opens subKey below root; on success fills *result and returns kErrorSuccess.
    virtual long OpenKey(RegKey root, const std::string& subKey, std::uint32_t options,
                         std::uint32_t samDesired, RegKey* result) = 0;
    // Copies the value's bytes into data (room for *dataSize bytes), sets *type and *dataSize.
    // A value larger than *dataSize gives kErrorMoreData.
    virtual long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                            unsigned char* data, std::uint32_t* dataSize) = 0;
    virtual long CloseKey(RegKey key) = 0;

    // True when path names an existing ordinary file (no directory, no hidden or system file).
    virtual bool IsOrdinaryFile(const std::string& path) = 0;
    // Starts the program at exactly this path, with no arguments, without waiting for it.
    virtual bool StartProgram(const std::string& path) = 0;
    // Shows text in a modal box captioned with the application's title, with only an OK button
    // and no icon; returns when dismissed.
    virtual void ShowMessage(const std::string& text) = 0;

protected:
    LauncherPlatform() = default;
    LauncherPlatform(const LauncherPlatform&) = default;
    LauncherPlatform& operator=(const LauncherPlatform&) = default;
};

} // namespace tamlo
