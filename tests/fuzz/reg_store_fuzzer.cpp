// Arbitrary bytes as a .reg store, read by the launcher: it must never crash, hang, leave a key
// open, or both start a program and show the message.
#include "ui/about/core/reg_store.h"
#include "ui/about/core/reg_store_platform.h"
#include "ui/about/core/sys_info_launcher.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

namespace {

class FuzzPlatform : public tamlo::RegStorePlatform {
public:
    using RegStorePlatform::RegStorePlatform;
    bool IsOrdinaryFile(const std::string& path) override { return path.size() % 2 == 0; }
    bool StartProgram(const std::string& path) override {
        ++starts;
        return !path.empty();
    }
    void ShowMessage(const std::string&) override { ++messages; }

    int starts = 0;
    int messages = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FuzzPlatform platform(tamlo::RegStore::FromText(bytes));
    tamlo::SysInfoLauncher launcher(platform);

    launcher.StartSysInfo();
    if (platform.messages > 1 || platform.starts > 1 || platform.OpenKeyCount() != 0) {
        std::abort();
    }

    // Every value the store might hold, read as the launcher reads it.
    for (const char* key : {tamlo::SysInfoLauncher::kToolKey, tamlo::SysInfoLauncher::kLocationKey,
                            "SOFTWARE\\Test", ""}) {
        for (const char* name : {"PATH", "MSINFO", "", "a"}) {
            std::string value = "x";
            try {
                launcher.GetKeyValue(tamlo::kHkeyLocalMachine, key, name, value);
            } catch (const std::exception&) {
                // A value filling the buffer without a NUL: the launcher's own error.
            }
            if (value.size() >= tamlo::SysInfoLauncher::kValueBufferSize ||
                platform.OpenKeyCount() != 0) {
                std::abort();
            }
        }
    }
    return 0;
}
