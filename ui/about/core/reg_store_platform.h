#pragma once

#include "ui/about/core/launcher_platform.h"
#include "ui/about/core/reg_store.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace tamlo {

// The registry part of the launcher's platform over a .reg store, for systems without a
// registry of their own. The store is read only: a request for any write right is refused, as
// the machine's keys refuse it to ordinary users. The file test, the start and the message box
// are left to the class that knows the desktop.
class RegStorePlatform : public LauncherPlatform {
public:
    // load is called by the first open, so that whatever goes wrong while the store is read
    // (an unreadable file, a lack of memory) is thrown inside the launcher's failure route.
    explicit RegStorePlatform(std::function<RegStore()> load) : load_(std::move(load)) {}

    long OpenKey(RegKey root, const std::string& subKey, std::uint32_t options,
                 std::uint32_t samDesired, RegKey* result) override;
    // type, data and dataSize are all required.
    long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* dataSize) override;
    long CloseKey(RegKey key) override;

    // Keys opened and not yet closed.
    std::size_t OpenKeyCount() const { return open_.size(); }

private:
    // The full path of a root or open key, or nullptr for an unknown handle.
    const std::string* PathOf(RegKey key) const;
    // The store, read on first use.
    const RegStore& Store();

    std::function<RegStore()> load_;
    std::optional<RegStore> store_;
    std::map<RegKey, std::string> open_;
    RegKey nextHandle_ = 1;
};

} // namespace tamlo
