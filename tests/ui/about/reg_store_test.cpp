#include "ui/about/core/reg_store.h"
#include "ui/about/core/reg_store_platform.h"
#include "ui/about/core/sys_info_launcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamlo {
namespace {

namespace fs = std::filesystem;

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Test";

// The store's registry with nothing behind the rest of the platform.
class StoreOnly : public RegStorePlatform {
public:
    using RegStorePlatform::RegStorePlatform;
    bool IsOrdinaryFile(const std::string&) override { return false; }
    bool StartProgram(const std::string&) override { return false; }
    void ShowMessage(const std::string&) override {}
};

std::string DataOf(const RegStore& store, const std::string& key, const std::string& name) {
    const RegStore::Value* value = store.Find(key, name);
    return value != nullptr ? value->data : "<missing>";
}

std::uint32_t TypeOf(const RegStore& store, const std::string& key, const std::string& name) {
    const RegStore::Value* value = store.Find(key, name);
    return value != nullptr ? value->type : 0xFFFFFFFF;
}

std::string Utf16Le(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(RegStoreTest, ReadsEveryValueSyntaxInLfOrCrlf) {
    const std::string text = "Windows Registry Editor Version 5.00\n"
                             "\n"
                             "; a comment\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n"
                             "@=\"default\"\n"
                             "\"Path\"=\"C:\\\\Program Files\\\\say \\\"hi\\\"\"\n"
                             "\"Number\"=dword:0000abcd\n"
                             "\"Bin\"=hex:01,ff,0A\n"
                             "\"Multi\"=hex(7):41,00,\\\n"
                             "  42,00,\\\n"
                             "  00,00\n"
                             "\"Empty\"=hex(0):\n"
                             "\"Big type\"=hex(ffffffff):7f\n"
                             "\"Na\\\"me\"  =  \"spaced\"  \n"
                             "\"Nul\"=hex(1):61,00,62,00\n";
    for (const std::string& variant : {text, std::string("REGEDIT4\r\n") + [&] {
                                           std::string crlf;
                                           for (char c : text) {
                                               crlf += c == '\n' ? std::string("\r\n")
                                                                 : std::string(1, c);
                                           }
                                           return crlf;
                                       }()}) {
        const RegStore store = RegStore::FromText(variant);
        EXPECT_EQ(DataOf(store, kKey, ""), std::string("default\0", 8));
        EXPECT_EQ(DataOf(store, kKey, "Path"), std::string("C:\\Program Files\\say \"hi\"\0", 26));
        EXPECT_EQ(TypeOf(store, kKey, "Path"), 1u);
        EXPECT_EQ(DataOf(store, kKey, "Number"), std::string("\xcd\xab\0\0", 4));
        EXPECT_EQ(TypeOf(store, kKey, "Number"), 4u);
        EXPECT_EQ(DataOf(store, kKey, "Bin"), "\x01\xff\x0a");
        EXPECT_EQ(TypeOf(store, kKey, "Bin"), 3u);
        EXPECT_EQ(DataOf(store, kKey, "Multi"), std::string("A\0B\0\0\0", 6));
        EXPECT_EQ(TypeOf(store, kKey, "Multi"), 7u);
        EXPECT_EQ(DataOf(store, kKey, "Empty"), "");
        EXPECT_EQ(TypeOf(store, kKey, "Big type"), 0xFFFFFFFFu);
        EXPECT_EQ(DataOf(store, kKey, "Na\"me"), std::string("spaced\0", 7));
        EXPECT_EQ(DataOf(store, kKey, "Nul"), std::string("a\0b\0", 4));
        EXPECT_EQ(store.ValueCount(), 9u);
        EXPECT_TRUE(store.HasKey("HKEY_LOCAL_MACHINE\\SOFTWARE"));
        EXPECT_FALSE(store.HasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Other"));
    }
}

TEST(RegStoreTest, NamesCompareWithoutCaseAndLaterValuesWin) {
    const RegStore store = RegStore::FromText("[hkey_local_machine\\software\\TEST]\n"
                                              "\"PATH\"=\"one\"\n"
                                              "[HKEY_LOCAL_MACHINE\\Software\\test]\n"
                                              "\"path\"=\"two\"\n");
    EXPECT_EQ(DataOf(store, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Test", "Path"), std::string("two\0", 4));
    EXPECT_EQ(store.ValueCount(), 1u);
}

TEST(RegStoreTest, LinesThatDoNotParseAreSkippedAndTheRestCounts) {
    const RegStore store = RegStore::FromText("\"Orphan\"=\"before any section\"\n"
                                              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n"
                                              "\"BadEscape\"=\"C:\\Tools\"\n"
                                              "\"Open\"=\"no end\n"
                                              "\"Trailing\"=\"x\" junk\n"
                                              "\"LongDword\"=dword:123456789\n"
                                              "\"NoDword\"=dword:\n"
                                              "\"BadByte\"=hex:01,g2\n"
                                              "\"ThreeDigits\"=hex:100\n"
                                              "\"EmptyByte\"=hex:01,,02\n"
                                              "\"BadType\"=hex(zz):01\n"
                                              "\"Delete\"=-\n"
                                              "NoQuotes=\"x\"\n"
                                              "\"NoEquals\" \"x\"\n"
                                              "\"Good\"=\"kept\"\n"
                                              "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n"
                                              "\"AfterDelete\"=\"x\"\n"
                                              "[NotARoot\\Key]\n"
                                              "\"UnderBadKey\"=\"x\"\n"
                                              "[HKEY_LOCAL_MACHINE\\Unclosed\n"
                                              "\"UnderUnclosed\"=\"x\"\n");
    EXPECT_EQ(store.ValueCount(), 1u);
    EXPECT_EQ(DataOf(store, kKey, "Good"), std::string("kept\0", 5));
}

TEST(RegStoreTest, DecodesUtf16WithBomAndUtf8WithBom) {
    const std::u16string text = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\r\n"
                                u"\"PATH\"=\"/opt/M\u00fcller/\U0001F600\"\r\n"
                                u"\"Lone\"=\"\xD800x\"\r\n";
    const RegStore wide = RegStore::FromText(Utf16Le(text));
    EXPECT_EQ(DataOf(wide, kKey, "PATH"), std::string("/opt/M\xc3\xbcller/\xf0\x9f\x98\x80\0", 18));
    EXPECT_EQ(DataOf(wide, kKey, "Lone"), std::string("\xef\xbf\xbdx\0", 5));

    const RegStore narrow = RegStore::FromText("\xEF\xBB\xBF[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n"
                                               "\"PATH\"=\"/opt/M\xc3\xbcller\"\n");
    EXPECT_EQ(DataOf(narrow, kKey, "PATH"), std::string("/opt/M\xc3\xbcller\0", 13));
}

TEST(RegStorePlatformTest, OpensReadOnlyAndReportsSizesLikeTheRegistry) {
    StoreOnly registry(RegStore::FromText("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n"
                                          "\"V\"=\"abc\"\n"));
    RegKey key = 0;
    EXPECT_EQ(registry.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Nowhere", 0, kKeyRead, &key),
              kErrorFileNotFound);
    EXPECT_EQ(registry.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Test", 0, 0x2003F, &key),
              kErrorAccessDenied);
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
    ASSERT_EQ(registry.OpenKey(kHkeyLocalMachine, "software\\test", 0, kKeyRead, &key),
              kErrorSuccess);

    unsigned char buffer[8] = {};
    std::uint32_t type = 0;
    std::uint32_t size = 3;
    EXPECT_EQ(registry.QueryValue(key, "v", &type, buffer, &size), kErrorMoreData);
    EXPECT_EQ(size, 4u);
    size = sizeof(buffer);
    EXPECT_EQ(registry.QueryValue(key, "V", &type, buffer, &size), kErrorSuccess);
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), std::string("abc\0", 4));
    EXPECT_EQ(registry.QueryValue(key, "W", &type, buffer, &size), kErrorFileNotFound);

    EXPECT_EQ(registry.CloseKey(key), kErrorSuccess);
    EXPECT_EQ(registry.CloseKey(key), kErrorInvalidHandle);
    EXPECT_EQ(registry.QueryValue(key, "V", &type, buffer, &size), kErrorInvalidHandle);
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

// The launcher over a store: text sizes count their terminator, as on Windows.
TEST(RegStorePlatformTest, TheBufferLimitMeansTheSameAsOnWindows) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n";
    std::string hex1024;
    for (int i = 0; i < 1024; ++i) {
        hex1024 += i == 0 ? "61" : ",61";
    }
    StoreOnly registry(RegStore::FromText(key + "\"Fits\"=\"" + std::string(1023, 'x') + "\"\n" +
                                          "\"TooLong\"=\"" + std::string(1024, 'x') + "\"\n" +
                                          "\"NoNul\"=hex(1):" + hex1024 + "\n"));
    SysInfoLauncher launcher(registry);
    std::string value;
    const std::string path = SysInfoLauncher::kToolKey;
    EXPECT_TRUE(launcher.GetKeyValue(kHkeyLocalMachine, path, "fits", value));
    EXPECT_EQ(value, std::string(1023, 'x'));
    EXPECT_FALSE(launcher.GetKeyValue(kHkeyLocalMachine, path, "TooLong", value));
    EXPECT_ANY_THROW(launcher.GetKeyValue(kHkeyLocalMachine, path, "NoNul", value));
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

} // namespace
} // namespace tamlo
