#include "ui/about/core/reg_store_platform.h"

#include <cstring>

namespace tamlo {

const std::string* RegStorePlatform::PathOf(RegKey key) const {
    static const std::string kLocalMachine = "HKEY_LOCAL_MACHINE";
    if (key == kHkeyLocalMachine) {
        return &kLocalMachine;
    }
    const auto open = open_.find(key);
    return open == open_.end() ? nullptr : &open->second;
}

long RegStorePlatform::OpenKey(RegKey root, const std::string& subKey, std::uint32_t /*options*/,
                               std::uint32_t samDesired, RegKey* result) {
    const std::string* rootPath = PathOf(root);
    if (rootPath == nullptr || result == nullptr) {
        return kErrorInvalidHandle;
    }
    const std::string path = subKey.empty() ? *rootPath : *rootPath + '\\' + subKey;
    if (!store_.HasKey(path)) {
        return kErrorFileNotFound;
    }
    if ((samDesired & kKeyWriteRights) != 0) {
        return kErrorAccessDenied;
    }
    // Handles never reach the predefined root's value.
    if (nextHandle_ == kHkeyLocalMachine) {
        ++nextHandle_;
    }
    *result = nextHandle_++;
    open_.emplace(*result, path);
    return kErrorSuccess;
}

long RegStorePlatform::QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                                  unsigned char* data, std::uint32_t* dataSize) {
    const std::string* path = PathOf(key);
    if (path == nullptr) {
        return kErrorInvalidHandle;
    }
    const RegStore::Value* value = store_.Find(*path, valueName);
    if (value == nullptr) {
        return kErrorFileNotFound;
    }
    if (type != nullptr) {
        *type = value->type;
    }
    const auto size = static_cast<std::uint32_t>(value->data.size());
    if (dataSize == nullptr) {
        return data == nullptr ? kErrorSuccess : kErrorInvalidParameter;
    }
    const std::uint32_t room = *dataSize;
    *dataSize = size;
    if (data == nullptr) {
        return kErrorSuccess;
    }
    if (size > room) {
        return kErrorMoreData;
    }
    if (size != 0) {
        std::memcpy(data, value->data.data(), size);
    }
    return kErrorSuccess;
}

long RegStorePlatform::CloseKey(RegKey key) {
    if (key == kHkeyLocalMachine) {
        return kErrorSuccess;
    }
    return open_.erase(key) != 0 ? kErrorSuccess : kErrorInvalidHandle;
}

} // namespace tamlo
