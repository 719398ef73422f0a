// Arbitrary bytes as a .reg store, read by the launcher: it must never crash, hang, leave a key
// open, or both start a program and show the message, and reading the store must never hold more
// memory than a small multiple of its size (so a small input already shows a square law).
#include "ui/about/core/reg_store_platform.h"
#include "ui/about/core/sys_info_launcher.h"

#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace {

// Bytes taken from the allocator while a store is read, and the most held at once.
bool counting = false;
std::size_t held = 0;
std::size_t peak = 0;

void OnMalloc(const volatile void*, std::size_t size) {
    if (counting) {
        held += size;
        peak = std::max(peak, held);
    }
}

void OnFree(const volatile void* block) {
    if (counting) {
        held -= std::min(held, __sanitizer_get_allocated_size(block));
    }
}

class FuzzPlatform : public tamlo::RegStorePlatform {
public:
    using RegStorePlatform::RegStorePlatform;
    bool IsOrdinaryFile(const std::string& path) override { return path.size() % 2 == 0; }
    bool StartProgram(const std::string& path) override {
        // A value read is shorter than the launcher's buffer, and the file name is added once.
        if (path.size() > tamlo::SysInfoLauncher::kValueBufferSize - 1 + 13) {
            std::abort();
        }
        ++starts;
        return !path.empty();
    }
    void ShowMessage(const std::string&) override { ++messages; }

    int starts = 0;
    int messages = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    held = peak = 0;
    counting = true;
    tamlo::RegStore store =
        tamlo::RegStore::FromText(std::string_view(reinterpret_cast<const char*>(data), size));
    counting = false;
    if (peak > 32 * size + 4096) {
        std::abort();
    }

    FuzzPlatform platform([&store] { return std::move(store); });
    tamlo::SysInfoLauncher(platform).StartSysInfo();
    if (platform.messages > 1 || platform.starts > 1 || platform.OpenKeyCount() != 0) {
        std::abort();
    }
    return 0;
}
