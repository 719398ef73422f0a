#pragma once

#include "ui/about/core/reg_store_platform.h"
#include "ui/about/core/sys_info_launcher.h"

#include <functional>
#include <string>
#include <utility>

namespace tamlo::testing {

// The real registry calls over a .reg store read from text in memory; the desktop's file test,
// start and message box are a log: "?path" for a file test, "!path" for a start and "message".
// Only file passes the test and starts.
class Desk : public RegStorePlatform {
public:
    explicit Desk(std::function<RegStore()> load) : RegStorePlatform(std::move(load)) {}
    explicit Desk(const std::string& text, std::string file = "")
        : RegStorePlatform([text] { return RegStore::FromText(text); }), file(std::move(file)) {}
    bool IsOrdinaryFile(const std::string& path) override { return Note("?", path); }
    bool StartProgram(const std::string& path) override { return Note("!", path); }
    void ShowMessage(const std::string& text) override {
        log += text == SysInfoLauncher::kUnavailable ? "message " : text;
    }
    bool Note(const char* what, const std::string& path) {
        log += what + path + " ";
        return path == file;
    }
    std::string file, log;
};

// 1024 bytes, none of them NUL, as hex data.
inline std::string Hex1024() {
    std::string hex = "61";
    while (hex.size() < 3 * 1024 - 1) {
        hex += ",61";
    }
    return hex;
}

} // namespace tamlo::testing
