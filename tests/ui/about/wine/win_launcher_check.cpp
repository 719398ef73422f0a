// Runs the launcher over the real Windows backend, against values the test script put into the
// registry. "check <phase>" prints one line per finding and exits non-zero on any failure.
#include "ui/about/core/sys_info_launcher.h"
#include "ui/about/win32/win_launcher_platform.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Expect(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    if (!ok) {
        ++failures;
    }
}

// The real backend, with the message box counted instead of shown (no one is there to press
// OK) and every start recorded before it goes to CreateProcessA.
class CheckedPlatform : public tamlo::WinLauncherPlatform {
public:
    bool StartProgram(const std::string& path) override {
        started.push_back(path);
        return WinLauncherPlatform::StartProgram(path);
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::vector<std::string> started;
    std::vector<std::string> messages;
};

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The started program runs on its own; wait for its marker, up to a minute.
bool MarkerAppears(const std::string& program) {
    for (int i = 0; i < 600; ++i) {
        if (FileExists(program + ".ran")) {
            return true;
        }
        Sleep(100);
    }
    return false;
}

void ExpectStarted(const std::string& program) {
    CheckedPlatform platform;
    tamlo::SysInfoLauncher(platform).StartSysInfo();
    Expect(platform.started == std::vector<std::string>{program}, "started " + program);
    Expect(platform.messages.empty(), "no message");
    Expect(MarkerAppears(program), "the program ran: " + program);
}

void ExpectMessage() {
    CheckedPlatform platform;
    tamlo::SysInfoLauncher(platform).StartSysInfo();
    Expect(platform.started.empty(), "nothing started");
    Expect(platform.messages ==
               std::vector<std::string>{"System Information Is Unavailable At This Time"},
           "one message");
}

void CheckValues() {
    CheckedPlatform platform;
    tamlo::SysInfoLauncher launcher(platform);
    const std::string key = "SOFTWARE\\TamloTest";
    std::string value = "previous";
    bool read = launcher.GetKeyValue(tamlo::kHkeyLocalMachine, key, "Dword", value);
    Expect(read && value == "13330", "dword 0x00003412 reads as 13330, got " + value);
    read = launcher.GetKeyValue(tamlo::kHkeyLocalMachine, key, "Cut", value);
    Expect(read && value == "before", "text cut at its NUL, got " + value);
    Expect(launcher.GetKeyValue(tamlo::kHkeyLocalMachine, key, "Fits", value) &&
               value == std::string(1023, 'f'),
           "1023 characters and the terminator fit");
    Expect(!launcher.GetKeyValue(tamlo::kHkeyLocalMachine, key, "TooLong", value) && value.empty(),
           "1024 characters and the terminator do not fit");
    // 1024 bytes with no NUL anywhere cannot be cut: an error, whatever the type.
    bool threw = false;
    try {
        launcher.GetKeyValue(tamlo::kHkeyLocalMachine, key, "NoNulBinary", value);
    } catch (...) {
        threw = true;
    }
    Expect(threw, "1024 bytes without a NUL are an error");
    // A text of 1024 characters stored without a terminator: Windows may hand back its 1024
    // bytes (the error), Wine asks for room for a terminator (not read). Either way it must
    // not count as read.
    threw = false;
    read = false;
    try {
        read = launcher.GetKeyValue(tamlo::kHkeyLocalMachine, key, "NoNulText", value);
    } catch (...) {
        threw = true;
    }
    Expect(threw || (!read && value.empty()), "an unterminated 1024-character text is not read");
    value = "previous";
    Expect(
        !launcher.GetKeyValue(tamlo::kHkeyLocalMachine, "SOFTWARE\\TamloMissing", "PATH", value) &&
            value.empty(),
        "a key that does not exist reads as false and empty");

    const std::string hidden = "C:\\tamlo hidden\\MSINFO32.EXE";
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    Expect(!platform.IsOrdinaryFile(hidden), "a hidden file is no ordinary file");
    Expect(!platform.IsOrdinaryFile("C:\\tamlo hidden"), "a directory is no ordinary file");
    Expect(platform.IsOrdinaryFile("C:\\tamlo fallback\\MSINFO32.EXE"), "a plain file is one");
    Expect(!platform.StartProgram(""), "an empty path does not start");
}

} // namespace

int main(int argc, char** argv) {
    const std::string phase = argc > 1 ? argv[1] : "";
    if (phase == "values") {
        CheckValues();
    } else if (phase == "first") {
        ExpectStarted("C:\\tamlo test\\a;b dir\\tool.exe");
        Expect(!FileExists("C:\\tamlo.exe.ran"), "the unquoted-path decoy did not run");
    } else if (phase == "fallback") {
        ExpectStarted("C:\\tamlo fallback\\MSINFO32.EXE");
    } else if (phase == "message") {
        ExpectMessage();
    } else {
        std::printf("usage: check values|first|fallback|message\n");
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
