#pragma once

#include "ui/about/core/launcher_platform.h"

namespace tamlo {

// The launcher's platform on Windows: the registry through advapi32's ANSI calls, the file
// test through the file's attributes, the start through CreateProcessA and the message box
// through MessageBoxW. owner is the window the message box is modal over (an HWND, may be null).
class WinLauncherPlatform : public LauncherPlatform {
public:
    explicit WinLauncherPlatform(void* owner = nullptr) : owner_(owner) {}

    long OpenKey(RegKey root, const std::string& subKey, std::uint32_t options,
                 std::uint32_t samDesired, RegKey* result) override;
    long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* dataSize) override;
    long CloseKey(RegKey key) override;

    bool IsOrdinaryFile(const std::string& path) override;
    bool StartProgram(const std::string& path) override;
    void ShowMessage(const std::string& text) override;

private:
    void* owner_;
};

} // namespace tamlo
