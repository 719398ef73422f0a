#pragma once

#include "ui/about/core/launcher_platform.h"
#include "ui/about/core/reg_store.h"

#include <cstddef>
#include <map>
#include <string>
#include <utility>

namespace tamlo {

// The registry part of the launcher's platform over a .reg store, for systems without a
// registry of their own. The store is read only: a request for any write right is refused, as
// the machine's keys refuse it to ordinary users. The file test, the start and the message box
// are left to the class that knows the desktop.
class RegStorePlatform : public LauncherPlatform {
public:
    explicit RegStorePlatform(RegStore store) : store_(std::move(store)) {}

    long OpenKey(RegKey root, const std::string& subKey, std::uint32_t options,
                 std::uint32_t samDesired, RegKey* result) override;
    long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* dataSize) override;
    long CloseKey(RegKey key) override;

    // Keys opened and not yet closed.
    std::size_t OpenKeyCount() const { return open_.size(); }

private:
    // The full path of a root or open key, or nullptr for an unknown handle.
    const std::string* PathOf(RegKey key) const;

    RegStore store_;
    std::map<RegKey, std::string> open_;
    RegKey nextHandle_ = 1;
};

} // namespace tamlo
