#pragma once

#include "ui/about/core/launcher_platform.h"

#include <cstddef>
#include <string>

namespace tamlo {

// Starts the system-information tool found through the registry, or tells the user it cannot.
// Keeps no state between presses: every call repeats the whole sequence.
class SysInfoLauncher {
public:
    static constexpr const char* kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static constexpr const char* kToolValue = "PATH";
    static constexpr const char* kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
    static constexpr const char* kLocationValue = "MSINFO";
    static constexpr const char* kProgramFile = "\\MSINFO32.EXE";
    static constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";
    static constexpr std::size_t kValueBufferSize = 1024;

    explicit SysInfoLauncher(LauncherPlatform& platform) : platform_(platform) {}

    // Starts the tool, or shows the one failure message once; never passes a failure on.
    void StartSysInfo();

    // Reads one value as text into KeyVal. False (KeyVal empty) when the key or the value cannot
    // be read; throws when the value fills the whole buffer with no terminator. A text value
    // replaces KeyVal with its text up to the first NUL, a 32-bit number with its decimal text;
    // any other type leaves KeyVal as it was.
    bool GetKeyValue(RegKey KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                     std::string& KeyVal);

private:
    void Launch();

    LauncherPlatform& platform_;
};

} // namespace tamlo
