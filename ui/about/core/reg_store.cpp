#include "ui/about/core/reg_store.h"

#include "ui/about/core/launcher_platform.h"

#include <array>
#include <optional>

namespace tamlo {

namespace {

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

// UTF-16LE (after its byte order mark) to UTF-8; a lone surrogate becomes U+FFFD. Units are
// taken one at a time, never read ahead: a high surrogate waits for the next unit. One left at the
// very end can only close a line that parses as nothing, so it is dropped.
std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    std::uint32_t high = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t unit =
            static_cast<unsigned char>(bytes[i]) |
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high != 0 && low) {
            AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            high = 0;
            continue;
        }
        if (high != 0) {
            AppendUtf8(out, 0xFFFD);
        }
        high = unit >= 0xD800 && unit <= 0xDBFF ? unit : 0;
        if (high == 0) {
            AppendUtf8(out, low ? 0xFFFD : unit);
        }
    }
    return out;
}

// The lines of a text one by one, without a list of them; the last line counts with or without
// a newline after it.
class LineReader {
public:
    explicit LineReader(std::string_view text) : rest_(text) {}

    bool Next(std::string_view& line) {
        if (done_) {
            return false;
        }
        const std::size_t end = rest_.find('\n');
        line = rest_.substr(0, end);
        done_ = end == std::string_view::npos;
        rest_.remove_prefix(done_ ? rest_.size() : end + 1);
        return true;
    }

private:
    std::string_view rest_;
    bool done_ = false;
};

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

void RegStore::ParseLines(std::string_view text) {
    Values* section = nullptr; // where values go, if the last key line was valid
    LineReader lines(text);
    for (std::string_view raw; lines.Next(raw);) {
        std::string_view line = Trim(raw);
        // Empty lines, the header line and ; comments fall to the last test below.
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            section = nullptr;
            if (line.back() != ']') {
                continue;
            }
            const std::string_view path = line.substr(1, line.size() - 2);
            if (IsRootName(path.substr(0, path.find('\\')))) {
                section = &keys_[Lower(path)];
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
                value = Value{kRegSz, std::move(*quoted) + '\0'};
            }
        } else if (line.substr(0, 6) == "dword:") {
            if (const auto number = ParseHex32(Trim(line.substr(6)))) {
                std::string bytes(4, '\0');
                for (std::size_t b = 0; b < 4; ++b) {
                    bytes[b] = static_cast<char>(*number >> (8 * b) & 0xFF);
                }
                value = Value{kRegDword, std::move(bytes)};
            }
        } else if (line.substr(0, 3) == "hex") {
            // The data runs on while a line ends in a backslash.
            std::string data(line);
            std::string_view next;
            while (!data.empty() && data.back() == '\\') {
                data.pop_back();
                if (!lines.Next(next)) {
                    break;
                }
                data += Trim(next);
            }
            std::string_view rest = data;
            rest.remove_prefix(3);
            std::optional<std::uint32_t> type = kRegBinary;
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
        if (value && section != nullptr) {
            (*section)[Lower(name)] = std::move(*value);
        }
    }
}

bool RegStore::HasKey(std::string_view keyPath) const {
    const std::string path = Lower(keyPath);
    if (keys_.count(path) != 0) {
        return true;
    }
    // The keys below path, if any, sort first among those at or after path and a backslash.
    const std::string below = path + '\\';
    const auto next = keys_.lower_bound(below);
    return next != keys_.end() && next->first.compare(0, below.size(), below) == 0;
}

const RegStore::Value* RegStore::Find(std::string_view keyPath, std::string_view valueName) const {
    const auto key = keys_.find(Lower(keyPath));
    if (key == keys_.end()) {
        return nullptr;
    }
    const auto value = key->second.find(Lower(valueName));
    return value == key->second.end() ? nullptr : &value->second;
}

} // namespace tamlo
