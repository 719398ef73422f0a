// The .reg store as the launcher reads it through the registry calls: every line of the text, and
// keys, handles and value copies as the registry gives them.
#include "tests/ui/about/core/desk.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tamlo {
namespace {

using testing::Desk;
using testing::Hex1024;

constexpr RegKey kLm = kHkeyLocalMachine;
#define KEY "[HKEY_LOCAL_MACHINE\\K]\n"

// GetKeyValue on value name of key K, with "keep" in KeyVal: the text read; "false:" or "throw:"
// and what KeyVal then holds.
std::string Read(const std::string& text, const std::string& name = "v") {
    Desk desk(text);
    std::string value = "keep", result;
    try {
        result = SysInfoLauncher(desk).GetKeyValue(kLm, "K", name, value) ? "" : "false:";
    } catch (const std::exception&) {
        result = "throw:";
    }
    EXPECT_EQ(desk.OpenKeyCount(), 0u) << text;
    return result + value;
}

std::string Utf16(const std::u16string& value) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : u"[HKEY_LOCAL_MACHINE\\K]\r\n\"v\"=\"" + value + u"\"") {
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    return bytes;
}

TEST(RegStoreTest, EachLineOfTheTextReadsAsTheRegistryWouldHoldIt) {
    const std::string xs(1023, 'x'), pad(RegStore::kMaxFileSize - 30, ' ');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {KEY "\"v\"=\"C:\\\\Program Files\\\\say \\\"hi\\\"\"", "C:\\Program Files\\say \"hi\""},
        {KEY "\"V\"  =  \"spaced\"  \r\n", "spaced"},
        {KEY "\"v\"=\"one\"\n[hkey_local_machine\\k]\n\"v\"=\"two\"", "two"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\r\n; \"v\"=\"no\"\r\n\"v\"=\"crlf\"\r\n", "crlf"},
        {"\xEF\xBB\xBF" KEY "\"v\"=\"M\xc3\xbc\"", "M\xc3\xbc"},
        {KEY "\"v\"=\"x\"\n[-HKEY_LOCAL_MACHINE\\K]\n\"v\"=\"y\"\n[NotARoot\\K]\n\"v\"=\"z\"", "x"},
        {KEY "\"v\"=dword:0000abcd", "43981"},
        {KEY "\"v\"=dword:FFFFFFFF", "4294967295"},
        {KEY "\"v\"=hex(4):00,00,00,01", "16777216"},
        {KEY "\"v\"=hex(1):61,00,62,00", "a"},
        {KEY "\"v\"=hex(1):61,62,63", "abc"},
        {KEY "\"v\"=hex(1):41,\\\n  42,\\\n  00", "AB"},
        {KEY "\"v\"=hex(1):", ""},
        {KEY "\"v\"=hex:01,ff,0A", "keep"},
        {KEY "\"v\"=hex(ffffffff):7f", "keep"},
        {KEY "\"v\"=\"" + xs + "\"", xs},
        {KEY "\"v\"=\"" + xs + "x\"", "false:"},
        {KEY "\"v\"=hex(1):" + Hex1024(), "throw:keep"},
        {KEY "\"v\"=hex(3):" + Hex1024(), "throw:keep"},
        {KEY "\"v\"=\"x\"" + pad, "x"},
        {KEY "\"v\"=\"x\" " + pad, "false:"},
        // Lines that do not parse, each skipped.
        {KEY "\"v\"=dword:123456789\n\"v\"=dword:\n\"v\"=dword:12g4\n\"v\"=hex(1):01,g2\n"
             "\"v\"=hex(1):100\n\"v\"=hex(1):01,,02\n\"v\"=hex(zz):01\n\"v\"=hex(1:61\n"
             "\"v\"=hex(1)61\n\"v\"=\"C:\\Tools\"\n\"v\"=\"no end\n\"v\"=\"x\" junk\n\"v\"=-\n"
             "v=\"x\"\n\"v\" \"x\"\n[HKEY_LOCAL_MACHINE\\K\n\"v\"=\"x\"",
         "false:"},
        {"[HKEY_LOCAL_MACHINE\\Other]\n\"v\"=\"x\"", "false:"},
        // UTF-16: each length of UTF-8 at its edges, surrogate pairs, lone surrogates as U+FFFD.
        {Utf16(u"\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF"),
         "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xed\x9f\xbf\xee\x80\x80\xef\xbf\xbf"},
        {Utf16(u"\xD800\xDC00\xDBFF\xDFFF"), "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"},
        {Utf16(u"\xD800"
               u"x\xDC00\xDFFF\xD800\xD800\xDC00\xDBFF"),
         "\xef\xbf\xbdx\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xf0\x90\x80\x80\xef\xbf\xbd"},
        {Utf16(u"odd") + "A", "odd"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Read(text), expected) << text.substr(0, 100);
    }
    EXPECT_EQ(Read(KEY "@=\"default\"\n\"v\"=\"x\"", ""), "default");
}

TEST(RegStoreTest, KeysOpenReadOnlyWithTheirParentsAndValuesCopyAsFromTheRegistry) {
    Desk desk("[HKEY_LOCAL_MACHINE\\S!]\n[HKEY_LOCAL_MACHINE\\S\\Key\\Sub]\n\"V\"=hex:61,62,63,00");
    RegKey key = 0, sub = 0;
    EXPECT_EQ(desk.OpenKey(kLm, "S", 1, kKeyRead, &key), kErrorInvalidParameter);
    EXPECT_EQ(desk.OpenKey(12345, "S", 0, kKeyRead, &key), kErrorInvalidHandle);
    EXPECT_EQ(desk.OpenKey(kLm, "S\\Ke", 0, kKeyRead, &key), kErrorFileNotFound);
    EXPECT_EQ(desk.OpenKey(kLm, "s\\key", 0, 0x2003F, &key), kErrorAccessDenied);
    ASSERT_EQ(desk.OpenKey(kLm, "s\\key", 0, kKeyRead, &key), kErrorSuccess);
    ASSERT_EQ(desk.OpenKey(key, "SUB", 0, kKeyRead, &sub), kErrorSuccess);
    unsigned char data[4] = {};
    std::uint32_t type = 0, size = 3;
    EXPECT_EQ(desk.QueryValue(sub, "v", &type, data, &size), kErrorMoreData);
    EXPECT_EQ(std::pair(size, type), std::pair(4u, kRegBinary));
    EXPECT_EQ(desk.CloseKey(sub), kErrorSuccess);
    EXPECT_EQ(desk.CloseKey(sub), kErrorInvalidHandle);
    EXPECT_EQ(desk.QueryValue(sub, "v", &type, data, &size), kErrorInvalidHandle);
}

} // namespace
} // namespace tamlo
