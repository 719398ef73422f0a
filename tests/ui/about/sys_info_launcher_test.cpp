// The launcher over the real registry calls and a .reg store read from text in memory; the
// desktop's file test, start and message box are a log.
#include "ui/about/core/app_info.h"
#include "ui/about/core/reg_store_platform.h"
#include "ui/about/core/sys_info_launcher.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <new>
#include <string>
#include <vector>

namespace tamlo {
namespace {

const std::string kNo = SysInfoLauncher::kUnavailable;
constexpr RegKey kLm = kHkeyLocalMachine;

// Logs "?path" for a file test, "!path" for a start and "message"; only file passes and starts.
class Desk : public RegStorePlatform {
public:
    explicit Desk(std::function<RegStore()> load) : RegStorePlatform(std::move(load)) {}
    explicit Desk(const std::string& text, std::string file = "")
        : RegStorePlatform([text] { return RegStore::FromText(text); }), file(std::move(file)) {}
    bool IsOrdinaryFile(const std::string& path) override { return Note("?", path); }
    bool StartProgram(const std::string& path) override { return Note("!", path); }
    void ShowMessage(const std::string& text) override { log += text == kNo ? "message " : text; }
    bool Note(const char* what, const std::string& path) {
        log += what + path + " ";
        return path == file;
    }
    std::string file, log;
};

#define KEY "[HKEY_LOCAL_MACHINE\\K]\n"
#define TOOL "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
#define LOCATION "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n"

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

// 1024 bytes, none of them NUL, as hex data.
std::string Hex1024() {
    std::string hex = "61";
    while (hex.size() < 3 * 1024 - 1) {
        hex += ",61";
    }
    return hex;
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
        {KEY "\"v\"=dword:00010002", "65538"},
        {KEY "\"v\"=dword:00003400", "13312"},
        {KEY "\"v\"=dword:FFFFFFFF", "4294967295"},
        {KEY "\"v\"=hex(4):00,00,00,01", "16777216"},
        {KEY "\"v\"=hex(1):61,00,62,00", "a"},
        {KEY "\"v\"=hex(1):61,62,63", "abc"},
        {KEY "\"v\"=hex(1):41,\\\n  42,\\\n  00", "AB"},
        {KEY "\"v\"=hex(1):41\\", "A"},
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

TEST(SysInfoLauncherTest, EachPressStartsTheToolFoundOrShowsTheMessageOnce) {
    const std::string d = "D\\MSINFO32.EXE", dd = "D\\\\MSINFO32.EXE", n = "12\\MSINFO32.EXE";
    const std::string fallback = LOCATION "\"MSINFO\"=\"D\"", tested = "?" + d + " !" + d + " ";
    const std::vector<std::array<std::string, 3>> cases = {
        // store, the one file there is, what one press does
        {TOOL "\"PATH\"=\"/opt/t;x y\"\n" + fallback, "/opt/t;x y", "!/opt/t;x y "},
        {fallback, d, tested},
        {LOCATION "\"MSINFO\"=\"D\\\\\"", dd, "?" + dd + " !" + dd + " "},
        {TOOL "\"Other\"=\"x\"\n" + fallback, d, tested},
        {TOOL "\"PATH\"=\"" + std::string(1024, 'x') + "\"\n" + fallback, d, tested},
        {LOCATION "\"MSINFO\"=dword:0000000c", n, "?" + n + " !" + n + " "},
        {fallback, "", "?" + d + " message "},
        {"", "", "message "},
        {TOOL "\"PATH\"=\"/missing\"\n" + fallback, d, "!/missing message "},
        {TOOL "\"PATH\"=hex(1):" + Hex1024() + "\n" + fallback, d, "message "},
        {TOOL "\"PATH\"=hex(2):41,00\n" + fallback, d, "! message "},
        {LOCATION "\"MSINFO\"=hex(7):41,00", "", "?\\MSINFO32.EXE message "},
    };
    for (const auto& [store, file, once] : cases) {
        Desk desk(store, file);
        SysInfoLauncher launcher(desk);
        launcher.StartSysInfo();
        launcher.StartSysInfo(); // repeats everything: nothing is kept from the first press
        EXPECT_EQ(desk.log, once + once) << store;
        EXPECT_EQ(desk.OpenKeyCount(), 0u);
    }
    Desk broken([]() -> RegStore { throw std::bad_alloc(); });
    SysInfoLauncher(broken).StartSysInfo();
    EXPECT_EQ(broken.log, "message ");
}

TEST(AppInfoTest, TheVersionLineWritesEachNumberInDecimalWithoutFill) {
    EXPECT_EQ(AppInfo::VersionText(1, 10, 200), "Version 1.10.200");
    EXPECT_EQ(AppInfo::VersionText(65535, 0, 7), "Version 65535.0.7");
}

} // namespace
} // namespace tamlo
