#include "ui/about/core/reg_store.h"

#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace tamlo {

namespace {

constexpr std::uint32_t kTextType = 1;
constexpr std::uint32_t kBinaryType = 3;
constexpr std::uint32_t kDwordType = 4;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return Lower(a) == Lower(b);
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Trim(std::string_view text) {
    return TrimRight(TrimLeft(text));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// One to eight hex digits and nothing else.
std::optional<std::uint32_t> ParseHex32(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        number = number << 4 | static_cast<std::uint32_t>(digit);
    }
    return number;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16LE (after its byte order mark) to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8;
    };
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((code - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, code);
        }
    }
    return out;
}

// A quoted text at the start of rest, with \\ and \" as its only escapes. On success rest is
// left after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view& rest) {
    if (rest.empty() || rest.front() != '"') {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '"') {
            rest.remove_prefix(i + 1);
            return text;
        }
        if (c == '\\') {
            if (i + 1 >= rest.size() || (rest[i + 1] != '\\' && rest[i + 1] != '"')) {
                return std::nullopt;
            }
            ++i;
            text += rest[i];
        } else {
            text += c;
        }
    }
    return std::nullopt;
}

// A comma separated list of bytes of one or two hex digits each; empty text is no bytes.
std::optional<std::string> ParseHexBytes(std::string_view list) {
    std::string bytes;
    list = Trim(list);
    if (list.empty()) {
        return bytes;
    }
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view token = Trim(list.substr(0, comma));
        if (token.empty() || token.size() > 2) {
            return std::nullopt;
        }
        const auto number = ParseHex32(token);
        if (!number) {
            return std::nullopt;
        }
        bytes += static_cast<char>(*number);
        if (comma == std::string_view::npos) {
            return bytes;
        }
        list.remove_prefix(comma + 1);
    }
}

bool IsRootName(std::string_view name) {
    static constexpr std::array<std::string_view, 5> kRoots = {
        "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT", "HKEY_USERS",
        "HKEY_CURRENT_CONFIG"};
    for (std::string_view root : kRoots) {
        if (EqualsNoCase(name, root)) {
            return true;
        }
    }
    return false;
}

} // namespace

RegStore RegStore::FromText(std::string_view bytes) {
    RegStore store;
    if (bytes.size() > kMaxFileSize) {
        return store;
    }
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        store.ParseLines(Utf16LeToUtf8(bytes.substr(2)));
    } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        store.ParseLines(bytes.substr(3));
    } else {
        store.ParseLines(bytes);
    }
    return store;
}

void RegStore::AddKey(std::string_view keyPath) {
    // Every key on the way down exists too, as after an import.
    const std::string lower = Lower(keyPath);
    for (std::size_t at = lower.find('\\'); at != std::string::npos;
         at = lower.find('\\', at + 1)) {
        keys_.insert(lower.substr(0, at));
    }
    keys_.insert(lower);
}

void RegStore::ParseLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }

    std::optional<std::string> section; // the lower-case key path values go to, if valid
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = Trim(lines[i]);
        if (line.empty() || line.front() == ';' || line == "REGEDIT4" ||
            line == "Windows Registry Editor Version 5.00") {
            continue;
        }
        if (line.front() == '[') {
            section.reset();
            if (line.back() != ']') {
                continue;
            }
            const std::string_view path = line.substr(1, line.size() - 2);
            if (IsRootName(path.substr(0, path.find('\\')))) {
                AddKey(path);
                section = Lower(path);
            }
            continue;
        }
        if (line.front() != '"' && line.front() != '@') {
            continue;
        }

        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            auto quoted = ParseQuoted(line);
            if (!quoted) {
                continue;
            }
            name = std::move(*quoted);
        }
        line = TrimLeft(line);
        if (line.empty() || line.front() != '=') {
            continue;
        }
        line = TrimLeft(line.substr(1));

        std::optional<Value> value;
        if (!line.empty() && line.front() == '"') {
            auto quoted = ParseQuoted(line);
            if (quoted && Trim(line).empty()) {
                value = Value{kTextType, std::move(*quoted) + '\0'};
            }
        } else if (line.substr(0, 6) == "dword:") {
            if (const auto number = ParseHex32(Trim(line.substr(6)))) {
                std::string bytes(4, '\0');
                for (std::size_t b = 0; b < 4; ++b) {
                    bytes[b] = static_cast<char>(*number >> (8 * b) & 0xFF);
                }
                value = Value{kDwordType, std::move(bytes)};
            }
        } else if (line.substr(0, 3) == "hex") {
            // The data runs on while a line ends in a backslash.
            std::string data(line);
            while (!data.empty() && data.back() == '\\') {
                data.pop_back();
                if (i + 1 >= lines.size()) {
                    break;
                }
                data += Trim(lines[++i]);
            }
            std::string_view rest = data;
            rest.remove_prefix(3);
            std::optional<std::uint32_t> type = kBinaryType;
            if (!rest.empty() && rest.front() == '(') {
                const std::size_t close = rest.find(')');
                type = close == std::string_view::npos ? std::nullopt
                                                       : ParseHex32(rest.substr(1, close - 1));
                rest.remove_prefix(close == std::string_view::npos ? rest.size() : close + 1);
            }
            if (type && !rest.empty() && rest.front() == ':') {
                if (auto bytes = ParseHexBytes(rest.substr(1))) {
                    value = Value{*type, std::move(*bytes)};
                }
            }
        }
        if (value && section) {
            values_[*section][Lower(name)] = std::move(*value);
        }
    }
}

bool RegStore::HasKey(std::string_view keyPath) const {
    return keys_.count(Lower(keyPath)) != 0;
}

const RegStore::Value* RegStore::Find(std::string_view keyPath, std::string_view valueName) const {
    const auto key = values_.find(Lower(keyPath));
    if (key == values_.end()) {
        return nullptr;
    }
    const auto value = key->second.find(Lower(valueName));
    return value == key->second.end() ? nullptr : &value->second;
}

std::size_t RegStore::ValueCount() const {
    std::size_t count = 0;
    for (const auto& [key, values] : values_) {
        count += values.size();
    }
    return count;
}

} // namespace tamlo
