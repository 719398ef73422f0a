#include "ui/about/core/sys_info_launcher.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace tamlo {

namespace {

// The error of a value that fills the whole buffer without a terminator.
class UnterminatedValue : public std::runtime_error {
public:
    UnterminatedValue() : std::runtime_error("registry value without terminator") {}
};

// Opens a key for reading and closes it on every way out of GetKeyValue, the error included.
class KeyGuard {
public:
    KeyGuard(LauncherPlatform& platform, RegKey root, const std::string& name)
        : platform_(platform),
          open_(platform.OpenKey(root, name, 0, kKeyRead, &key_) == kErrorSuccess) {}
    ~KeyGuard() {
        if (open_) {
            platform_.CloseKey(key_);
        }
    }
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;

    bool IsOpen() const { return open_; }
    RegKey Handle() const { return key_; }

private:
    LauncherPlatform& platform_;
    RegKey key_{};
    bool open_;
};

} // namespace

void SysInfoLauncher::StartSysInfo() {
    bool started = false;
    try {
        Launch();
        started = true;
    } catch (...) {
        // Every failure on the way, thrown or returned, ends in the one message below.
    }
    if (!started) {
        platform_.ShowMessage(kUnavailable);
    }
}

void SysInfoLauncher::Launch() {
    std::string path;
    if (!GetKeyValue(kHkeyLocalMachine, kToolKey, kToolValue, path)) {
        if (!GetKeyValue(kHkeyLocalMachine, kLocationKey, kLocationValue, path)) {
            throw std::runtime_error("no location recorded");
        }
        // Joined as it stands: a directory that already ends in a separator gets a second one.
        std::string candidate = path + kProgramFile;
        if (!platform_.IsOrdinaryFile(candidate)) {
            throw std::runtime_error("program file missing");
        }
        path = candidate;
    }
    // The value read first is trusted as a whole program path and gets no file test.
    if (!platform_.StartProgram(path)) {
        throw std::runtime_error("program did not start");
    }
}

bool SysInfoLauncher::GetKeyValue(RegKey KeyRoot, const std::string& KeyName,
                                  const std::string& SubKeyRef, std::string& KeyVal) {
    const KeyGuard key(platform_, KeyRoot, KeyName);
    if (!key.IsOpen()) {
        KeyVal.clear();
        return false;
    }

    std::array<unsigned char, kValueBufferSize> buffer{};
    auto size = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t type = kRegNone;
    if (platform_.QueryValue(key.Handle(), SubKeyRef, &type, buffer.data(), &size) !=
        kErrorSuccess) {
        KeyVal.clear();
        return false;
    }

    const auto nul = std::find(buffer.begin(), buffer.end(), 0);
    if (nul == buffer.end()) {
        throw UnterminatedValue();
    }

    if (type == kRegSz) {
        KeyVal.assign(buffer.begin(), nul);
    } else if (type == kRegDword) {
        // The whole four bytes, lowest first, as an unsigned decimal number.
        const std::uint32_t number = static_cast<std::uint32_t>(buffer[0]) |
                                     static_cast<std::uint32_t>(buffer[1]) << 8 |
                                     static_cast<std::uint32_t>(buffer[2]) << 16 |
                                     static_cast<std::uint32_t>(buffer[3]) << 24;
        KeyVal = std::to_string(number);
    }
    return true;
}

} // namespace tamlo
