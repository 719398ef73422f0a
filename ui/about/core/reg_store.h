#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace tamlo {

// A read-only registry held in a text file in the .reg export format: an optional
// "REGEDIT4" or "Windows Registry Editor Version 5.00" line, [ROOT\key\path] sections,
// "name"="text" (with \\ and \" escapes), "name"=dword:0000abcd, "name"=hex:.. and
// "name"=hex(N):.. (with \ continuation lines), @= for the default value and ; comments; LF
// or CRLF; UTF-8 with or without a byte order mark, or UTF-16LE with one. Key and value names
// compare without regard to ASCII case. A line that does not parse is skipped; a text larger than
// kMaxFileSize holds no values. Reading takes time and memory in proportion to the text.
class RegStore {
public:
    struct Value {
        std::uint32_t type = 0;
        std::string data; // the stored bytes: a text is its UTF-8 bytes and a closing NUL
    };

    static constexpr std::size_t kMaxFileSize = 1024 * 1024;

    RegStore() = default;

    static RegStore FromText(std::string_view bytes);

    // keyPath is the full path from the root name, e.g. "HKEY_LOCAL_MACHINE\SOFTWARE". Every key
    // on the way down to a key of the text exists too, as after an import.
    bool HasKey(std::string_view keyPath) const;
    const Value* Find(std::string_view keyPath, std::string_view valueName) const;

private:
    using Values = std::map<std::string, Value, std::less<>>;

    void ParseLines(std::string_view text);

    // Each key of the text once, by its lower-case path; the keys above it are found by prefix,
    // never stored, so a long path costs its own length and no more.
    std::map<std::string, Values, std::less<>> keys_;
};

} // namespace tamlo
