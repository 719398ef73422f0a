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

const RegStore& RegStorePlatform::Store() {
    if (!store_) {
        store_ = load_();
    }
    return *store_;
}

long RegStorePlatform::OpenKey(RegKey root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t samDesired, RegKey* result) {
    const std::string* rootPath = PathOf(root);
    if (rootPath == nullptr) {
        return kErrorInvalidHandle;
    }
    // The real call knows no options for an open but the link flag, which a store has no use for.
    if (options != 0) {
        return kErrorInvalidParameter;
    }
    const std::string path = subKey.empty() ? *rootPath : *rootPath + '\\' + subKey;
    if (!Store().HasKey(path)) {
        return kErrorFileNotFound;
    }
    if ((samDesired & kKeyWriteRights) != 0) {
        return kErrorAccessDenied;
    }
    // Handles count up from 1, far below the predefined root's value.
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
    const RegStore::Value* value = Store().Find(*path, valueName);
    if (value == nullptr) {
        return kErrorFileNotFound;
    }
    *type = value->type;
    const std::uint32_t room = *dataSize;
    *dataSize = static_cast<std::uint32_t>(value->data.size());
    if (*dataSize > room) {
        return kErrorMoreData;
    }
    std::memcpy(data, value->data.data(), value->data.size());
    return kErrorSuccess;
}

long RegStorePlatform::CloseKey(RegKey key) {
    return open_.erase(key) != 0 ? kErrorSuccess : kErrorInvalidHandle;
}

} // namespace tamlo
