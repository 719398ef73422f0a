// Arbitrary bytes as a .reg store, read by the launcher: no crash, hang or key left open, at most
// one start and one message, and reading the store never holds more memory than a small multiple
// of its size, so that a small input already shows a square law.
#include "ui/about/core/reg_store_platform.h"
#include "ui/about/core/sys_info_launcher.h"

#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

bool counting = false;
std::size_t held = 0, peak = 0; // bytes taken while a store is read, and the most held at once

class FuzzPlatform : public tamlo::RegStorePlatform {
public:
    using RegStorePlatform::RegStorePlatform;
    bool IsOrdinaryFile(const std::string& path) override { return path.size() % 2 == 0; }
    bool StartProgram(const std::string& path) override {
        // A value read is shorter than the launcher's buffer; the file name is added at most once.
        starts += path.size() < tamlo::SysInfoLauncher::kValueBufferSize + 13 ? 1 : 2;
        return !path.empty();
    }
    void ShowMessage(const std::string&) override { ++messages; }
    int starts = 0, messages = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    __sanitizer_install_malloc_and_free_hooks(
        [](const volatile void*, std::size_t size) {
            peak = std::max(peak, held += counting ? size : 0);
        },
        [](const volatile void* block) {
            held -= counting ? std::min(held, __sanitizer_get_allocated_size(block)) : 0;
        });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    held = peak = 0;
    counting = true;
    tamlo::RegStore store = tamlo::RegStore::FromText({reinterpret_cast<const char*>(data), size});
    counting = false;
    FuzzPlatform platform([&store] { return std::move(store); });
    tamlo::SysInfoLauncher(platform).StartSysInfo();
    if (peak > 32 * size + 4096 || platform.starts > 1 || platform.messages > 1 ||
        platform.OpenKeyCount() != 0) {
        std::abort();
    }
    return 0;
}
