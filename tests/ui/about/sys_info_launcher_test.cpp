#include "ui/about/core/reg_store_platform.h"
#include "ui/about/core/sys_info_launcher.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <set>
#include <string>
#include <vector>

namespace tamlo {
namespace {

using Strings = std::vector<std::string>;

// The real registry calls over a store read from text; the desktop's file test, start and
// message box recorded. A file in files passes the test and starts.
class Desk : public RegStorePlatform {
public:
    explicit Desk(std::function<RegStore()> load, std::set<std::string> files = {})
        : RegStorePlatform(std::move(load)), files(std::move(files)) {}
    explicit Desk(const std::string& text, std::set<std::string> files = {})
        : Desk([text] { return RegStore::FromText(text); }, std::move(files)) {}

    bool IsOrdinaryFile(const std::string& path) override {
        tested.push_back(path);
        return files.count(path) != 0;
    }
    bool StartProgram(const std::string& path) override {
        started.push_back(path);
        return files.count(path) != 0;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::set<std::string> files;
    Strings tested, started, messages;
};

#define KEY "[HKEY_LOCAL_MACHINE\\K]\n"
#define TOOL "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
#define LOCATION "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n"

// What GetKeyValue makes of value name of key K in the store text, with "keep" in KeyVal on
// entry: the text read, "false:" when it returns false, "throw:" and KeyVal when it throws.
std::string Read(const std::string& text, const std::string& name = "v") {
    Desk desk(text);
    std::string value = "keep";
    std::string result;
    try {
        result =
            SysInfoLauncher(desk).GetKeyValue(kHkeyLocalMachine, "K", name, value) ? "" : "false:";
    } catch (const std::exception&) {
        result = "throw:";
    }
    EXPECT_EQ(desk.OpenKeyCount(), 0u) << text;
    return result + value;
}

std::string Utf16(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : u"[HKEY_LOCAL_MACHINE\\K]\r\n\"v\"=\"" + text + u"\"") {
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    return bytes;
}

// 1024 bytes of 'a' and no NUL, as hex data.
std::string Bytes1024() {
    std::string bytes = "61";
    for (int i = 1; i < 1024; ++i) {
        bytes += ",61";
    }
    return bytes;
}

TEST(RegStoreTest, EachLineOfTheTextReadsAsTheRegistryWouldHoldIt) {
    const std::string xs(1023, 'x');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {KEY "\"v\"=\"C:\\\\Program Files\\\\say \\\"hi\\\"\"", "C:\\Program Files\\say \"hi\""},
        {KEY "\"V\"  =  \"spaced\"  \r\n", "spaced"},
        {KEY "\"v\"=\"one\"\n[hkey_local_machine\\k]\n\"v\"=\"two\"", "two"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\r\n; \"v\"=\"no\"\r\n\"v\"=\"crlf\"\r\n", "crlf"},
        {"\xEF\xBB\xBF" KEY "\"v\"=\"M\xc3\xbc\"", "M\xc3\xbc"},
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
        {KEY "\"v\"=hex(1):" + Bytes1024(), "throw:keep"},
        {KEY "\"v\"=hex(3):" + Bytes1024(), "throw:keep"},
        {KEY "\"v\"=\"x\"" + std::string(RegStore::kMaxFileSize - 30, ' '), "x"},
        {KEY "\"v\"=\"x\"" + std::string(RegStore::kMaxFileSize - 29, ' '), "false:"},
        {KEY "\"v\"=dword:123456789", "false:"},
        {KEY "\"v\"=dword:", "false:"},
        {KEY "\"v\"=dword:12g4", "false:"},
        {KEY "\"v\"=hex(1):01,g2", "false:"},
        {KEY "\"v\"=hex(1):100", "false:"},
        {KEY "\"v\"=hex(1):01,,02", "false:"},
        {KEY "\"v\"=hex(zz):01", "false:"},
        {KEY "\"v\"=hex(1:61", "false:"},
        {KEY "\"v\"=hex(1)61", "false:"},
        {KEY "\"v\"=\"C:\\Tools\"", "false:"},
        {KEY "\"v\"=\"no end", "false:"},
        {KEY "\"v\"=\"x\" junk", "false:"},
        {KEY "\"v\"=-", "false:"},
        {KEY "v=\"x\"", "false:"},
        {KEY "\"v\" \"x\"", "false:"},
        {KEY "[NotARoot\\K]\n\"v\"=\"x\"", "false:"},
        {KEY "[HKEY_LOCAL_MACHINE\\K\n\"v\"=\"x\"", "false:"},
        {KEY "\"v\"=\"x\"\n[-HKEY_LOCAL_MACHINE\\K]\n\"v\"=\"y\"", "x"},
        {"[HKEY_LOCAL_MACHINE\\Other]\n\"v\"=\"x\"", "false:"},
        // UTF-8 from UTF-16 at each length's edges, surrogate pairs, and lone surrogates as U+FFFD.
        {Utf16(u"\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF"),
         "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xed\x9f\xbf\xee\x80\x80\xef\xbf\xbf"},
        {Utf16(u"\xD800\xDC00\xDBFF\xDFFF"), "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"},
        {Utf16(u"\xD800"
               u"x\xDC00\xDFFF\xD800\xD800\xDC00\xDBFF"),
         "\xef\xbf\xbdx\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xf0\x90\x80\x80\xef\xbf\xbd"},
        {Utf16(u"odd") + "A", "odd"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Read(text), expected) << text.substr(0, 80);
    }
    EXPECT_EQ(Read(KEY "@=\"default\"\n\"v\"=\"x\"", ""), "default");
}

TEST(RegStoreTest, KeysOpenReadOnlyWithTheirParentsAndValuesCopyLikeTheRegistry) {
    Desk desk("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test!]\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test\\Sub]\n"
              "\"V\"=\"abc\"");
    RegKey key = 0;
    RegKey sub = 0;
    EXPECT_EQ(desk.OpenKey(kHkeyLocalMachine, "SOFTWARE", 1, kKeyRead, &key),
              kErrorInvalidParameter);
    EXPECT_EQ(desk.OpenKey(12345, "SOFTWARE", 0, kKeyRead, &key), kErrorInvalidHandle);
    EXPECT_EQ(desk.OpenKey(kHkeyLocalMachine, "SOFTWAR", 0, kKeyRead, &key), kErrorFileNotFound);
    EXPECT_EQ(desk.OpenKey(kHkeyLocalMachine, "Software\\Test", 0, 0x2003F, &key),
              kErrorAccessDenied);
    ASSERT_EQ(desk.OpenKey(kHkeyLocalMachine, "Software\\Test", 0, kKeyRead, &key), kErrorSuccess);
    ASSERT_EQ(desk.OpenKey(key, "SUB", 0, kKeyRead, &sub), kErrorSuccess);
    EXPECT_EQ(desk.OpenKey(key, "Su", 0, kKeyRead, &sub), kErrorFileNotFound);

    unsigned char buffer[4] = {};
    std::uint32_t type = 0;
    std::uint32_t size = 3;
    EXPECT_EQ(desk.QueryValue(sub, "v", &type, buffer, &size), kErrorMoreData);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(desk.QueryValue(sub, "v", &type, buffer, &size), kErrorSuccess);
    EXPECT_EQ(std::string(buffer, buffer + size) + std::to_string(type), std::string("abc\0"
                                                                                     "1",
                                                                                     5));
    EXPECT_EQ(desk.QueryValue(key, "v", &type, buffer, &size), kErrorFileNotFound);
    EXPECT_EQ(desk.CloseKey(sub), kErrorSuccess);
    EXPECT_EQ(desk.CloseKey(sub), kErrorInvalidHandle);
    EXPECT_EQ(desk.QueryValue(sub, "v", &type, buffer, &size), kErrorInvalidHandle);
}

TEST(SysInfoLauncherTest, EachPressStartsTheToolFoundOrShowsTheMessageOnce) {
    const std::string d = "D\\MSINFO32.EXE";
    struct Case {
        std::string store;
        std::set<std::string> files;
        Strings started, tested;
    };
    const std::vector<Case> cases = {
        {TOOL "\"PATH\"=\"/opt/t;x y\"\n" LOCATION "\"MSINFO\"=\"D\"",
         {"/opt/t;x y", d},
         {"/opt/t;x y"},
         {}},
        {LOCATION "\"MSINFO\"=\"D\"", {d}, {d}, {d}},
        {LOCATION "\"MSINFO\"=\"D\\\\\"",
         {"D\\\\MSINFO32.EXE"},
         {"D\\\\MSINFO32.EXE"},
         {"D\\\\MSINFO32.EXE"}},
        {TOOL "\"Other\"=\"x\"\n" LOCATION "\"MSINFO\"=\"D\"", {d}, {d}, {d}},
        {TOOL "\"PATH\"=\"" + std::string(1024, 'x') + "\"\n" LOCATION "\"MSINFO\"=\"D\"",
         {d},
         {d},
         {d}},
        {LOCATION "\"MSINFO\"=dword:0000000c",
         {"12\\MSINFO32.EXE"},
         {"12\\MSINFO32.EXE"},
         {"12\\MSINFO32.EXE"}},
        // Failures: one message each.
        {LOCATION "\"MSINFO\"=\"D\"", {}, {}, {d}},
        {"", {}, {}, {}},
        {TOOL "\"PATH\"=\"/missing\"\n" LOCATION "\"MSINFO\"=\"D\"", {d}, {"/missing"}, {}},
        {TOOL "\"PATH\"=hex(1):" + Bytes1024() + "\n" LOCATION "\"MSINFO\"=\"D\"", {d}, {}, {}},
        {TOOL "\"PATH\"=hex(2):41,00\n" LOCATION "\"MSINFO\"=\"D\"", {d}, {""}, {}},
        {LOCATION "\"MSINFO\"=hex(7):41,00",
         {"\\MSINFO32.EXE"},
         {"\\MSINFO32.EXE"},
         {"\\MSINFO32.EXE"}},
    };
    for (const auto& c : cases) {
        Desk desk(c.store, c.files);
        SysInfoLauncher launcher(desk);
        // A second press repeats everything: nothing is kept from the first.
        launcher.StartSysInfo();
        launcher.StartSysInfo();
        const auto twice = [](const Strings& once) {
            Strings both = once;
            both.insert(both.end(), once.begin(), once.end());
            return both;
        };
        const bool fails = c.started.empty() || c.files.count(c.started[0]) == 0;
        EXPECT_EQ(desk.started, twice(c.started)) << c.store;
        EXPECT_EQ(desk.tested, twice(c.tested)) << c.store;
        EXPECT_EQ(desk.messages, fails ? twice({SysInfoLauncher::kUnavailable}) : Strings{})
            << c.store;
        EXPECT_EQ(desk.OpenKeyCount(), 0u);
    }
}

TEST(SysInfoLauncherTest, AStoreThatCannotBeReadEndsInTheMessage) {
    Desk desk([]() -> RegStore { throw std::bad_alloc(); });
    SysInfoLauncher(desk).StartSysInfo();
    EXPECT_EQ(desk.messages, Strings{SysInfoLauncher::kUnavailable});
    EXPECT_TRUE(desk.started.empty());
}

} // namespace
} // namespace tamlo
