#pragma once

#include "ui/about/core/launcher_platform.h"

#include <cstring>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tamlo::testing {

// A registry, file system, launcher and message box in memory that records every call. Like
// the machine's keys for an ordinary user, it refuses any open that asks for a write right.
class FakeLauncherPlatform : public LauncherPlatform {
public:
    struct Value {
        std::uint32_t type;
        std::string bytes;
    };

    void SetValue(const std::string& key, const std::string& name, std::uint32_t type,
                  std::string bytes) {
        values[key][name] = Value{type, std::move(bytes)};
    }
    void SetText(const std::string& key, const std::string& name, const std::string& text) {
        SetValue(key, name, kRegSz, text + '\0');
    }

    long OpenKey(RegKey root, const std::string& subKey, std::uint32_t, std::uint32_t samDesired,
                 RegKey* result) override {
        opens.push_back({subKey, samDesired});
        if (root != kHkeyLocalMachine || values.count(subKey) == 0) {
            return kErrorFileNotFound;
        }
        if ((samDesired & kKeyWriteRights) != 0) {
            return kErrorAccessDenied;
        }
        *result = nextHandle++;
        open[*result] = subKey;
        return kErrorSuccess;
    }

    long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* dataSize) override {
        queries.push_back(valueName);
        const auto handle = open.find(key);
        if (handle == open.end()) {
            return kErrorInvalidHandle;
        }
        const auto& inKey = values[handle->second];
        const auto value = inKey.find(valueName);
        if (value == inKey.end()) {
            return kErrorFileNotFound;
        }
        *type = value->second.type;
        const auto size = static_cast<std::uint32_t>(value->second.bytes.size());
        if (size > *dataSize) {
            *dataSize = size;
            return kErrorMoreData;
        }
        // Only the value's own bytes are written, as the real call does.
        std::memcpy(data, value->second.bytes.data(), size);
        *dataSize = size;
        return kErrorSuccess;
    }

    long CloseKey(RegKey key) override {
        closes.push_back(key);
        return open.erase(key) != 0 ? kErrorSuccess : kErrorInvalidHandle;
    }

    bool IsOrdinaryFile(const std::string& path) override {
        fileTests.push_back(path);
        if (throwOnFileTest) {
            throw std::runtime_error("file test failed");
        }
        return files.count(path) != 0;
    }

    bool StartProgram(const std::string& path) override {
        started.push_back(path);
        return !path.empty() && startSucceeds;
    }

    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::map<std::string, std::map<std::string, Value>> values;
    std::set<std::string> files;
    bool startSucceeds = true;
    bool throwOnFileTest = false;

    std::vector<std::pair<std::string, std::uint32_t>> opens; // key path, access mask
    std::vector<std::string> queries;
    std::vector<RegKey> closes;
    std::map<RegKey, std::string> open;
    std::vector<std::string> fileTests;
    std::vector<std::string> started;
    std::vector<std::string> messages;

private:
    RegKey nextHandle = 100;
};

} // namespace tamlo::testing
