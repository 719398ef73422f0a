#include "tests/ui/about/fake_launcher_platform.h"
#include "ui/about/core/sys_info_launcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamlo {
namespace {

using testing::FakeLauncherPlatform;
using Strings = std::vector<std::string>;

const std::string kTool = SysInfoLauncher::kToolKey;
const std::string kLocation = SysInfoLauncher::kLocationKey;
const std::string kMessage = "System Information Is Unavailable At This Time";

class SysInfoLauncherTest : public ::testing::Test {
protected:
    void TearDown() override {
        // Every key opened is closed again, whatever way the launcher left.
        EXPECT_TRUE(platform.open.empty());
        for (const auto& [key, mask] : platform.opens) {
            EXPECT_EQ(mask, 0x20019u) << key;
        }
    }

    FakeLauncherPlatform platform;
    SysInfoLauncher launcher{platform};
};

TEST_F(SysInfoLauncherTest, FirstValueStartsAsItStandsWithoutFileTestOrSecondLookUp) {
    platform.SetText(kTool, "PATH", "C:\\Program Files\\Tool;x\\MSINFO32.EXE");
    platform.SetText(kLocation, "MSINFO", "C:\\Other");
    platform.files.insert("C:\\Other\\MSINFO32.EXE");

    launcher.StartSysInfo();

    EXPECT_EQ(platform.started, Strings{"C:\\Program Files\\Tool;x\\MSINFO32.EXE"});
    EXPECT_TRUE(platform.fileTests.empty());
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_EQ(platform.opens.size(), 1u);
    EXPECT_EQ(platform.opens[0].first, kTool);
    EXPECT_EQ(platform.queries, Strings{"PATH"});
}

TEST_F(SysInfoLauncherTest, FallbackDirectoryIsJoinedAsItStandsAndMustHoldTheFile) {
    // No first key at all; the directory has no separator at its end.
    platform.SetText(kLocation, "MSINFO", "C:\\Tools");
    platform.files.insert("C:\\Tools\\MSINFO32.EXE");
    launcher.StartSysInfo();
    EXPECT_EQ(platform.fileTests, Strings{"C:\\Tools\\MSINFO32.EXE"});
    EXPECT_EQ(platform.started, Strings{"C:\\Tools\\MSINFO32.EXE"});
    EXPECT_TRUE(platform.messages.empty());

    // A directory ending in a backslash gets a second one; nothing is removed or added.
    platform.fileTests.clear();
    platform.started.clear();
    platform.SetText(kLocation, "MSINFO", "C:\\Tools\\");
    platform.files.insert("C:\\Tools\\\\MSINFO32.EXE");
    launcher.StartSysInfo();
    EXPECT_EQ(platform.fileTests, Strings{"C:\\Tools\\\\MSINFO32.EXE"});
    EXPECT_EQ(platform.started, Strings{"C:\\Tools\\\\MSINFO32.EXE"});

    // The first key exists but lacks the value: the fallback is still used.
    platform.started.clear();
    platform.SetText(kTool, "OTHER", "C:\\Wrong.exe");
    launcher.StartSysInfo();
    EXPECT_EQ(platform.started, Strings{"C:\\Tools\\\\MSINFO32.EXE"});

    // Without the file in that directory: the message, and nothing starts.
    platform.started.clear();
    platform.files.clear();
    launcher.StartSysInfo();
    EXPECT_TRUE(platform.started.empty());
    EXPECT_EQ(platform.messages, Strings{kMessage});
}

TEST_F(SysInfoLauncherTest, NeitherValueGivesOneMessagePerPressAndEveryPressLooksUpAgain) {
    launcher.StartSysInfo();
    EXPECT_EQ(platform.messages, Strings{kMessage});
    EXPECT_TRUE(platform.started.empty());
    EXPECT_TRUE(platform.fileTests.empty());

    launcher.StartSysInfo();
    EXPECT_EQ(platform.messages, (Strings{kMessage, kMessage}));
    ASSERT_EQ(platform.opens.size(), 4u);
    EXPECT_EQ(platform.opens[2].first, kTool);
    EXPECT_EQ(platform.opens[3].first, kLocation);
}

TEST_F(SysInfoLauncherTest, FailuresAfterTheFirstValueGiveTheMessageWithoutTheSecondLookUp) {
    platform.SetText(kLocation, "MSINFO", "C:\\Tools");
    platform.files.insert("C:\\Tools\\MSINFO32.EXE");

    // A first value that names nothing startable.
    platform.SetText(kTool, "PATH", "C:\\Missing.exe");
    platform.startSucceeds = false;
    launcher.StartSysInfo();
    EXPECT_EQ(platform.started, Strings{"C:\\Missing.exe"});
    EXPECT_EQ(platform.messages, Strings{kMessage});

    // A first value of exactly 1024 bytes with no terminator is an error, not a fallback.
    platform.startSucceeds = true;
    platform.started.clear();
    platform.messages.clear();
    platform.SetValue(kTool, "PATH", kRegSz, std::string(1024, 'a'));
    launcher.StartSysInfo();
    EXPECT_TRUE(platform.started.empty());
    EXPECT_EQ(platform.messages, Strings{kMessage});

    // A first value of another type reads as true and leaves the path empty: the start fails.
    platform.messages.clear();
    platform.SetValue(kTool, "PATH", 2, std::string("C:\\Tool.exe\0", 12));
    launcher.StartSysInfo();
    EXPECT_EQ(platform.started, Strings{""});
    EXPECT_EQ(platform.messages, Strings{kMessage});

    for (const auto& [key, mask] : platform.opens) {
        EXPECT_EQ(key, kTool);
    }
}

TEST_F(SysInfoLauncherTest, SecondValueOfAnotherTypeTestsTheFileNameAlone) {
    platform.SetValue(kLocation, "MSINFO", 7, std::string("C:\\Tools\0\0", 10));
    launcher.StartSysInfo();
    EXPECT_EQ(platform.fileTests, Strings{"\\MSINFO32.EXE"});
    EXPECT_EQ(platform.messages, Strings{kMessage});
}

TEST_F(SysInfoLauncherTest, AnErrorThrownByThePlatformEndsInTheMessage) {
    platform.SetText(kLocation, "MSINFO", "C:\\Tools");
    platform.throwOnFileTest = true;
    EXPECT_NO_THROW(launcher.StartSysInfo());
    EXPECT_EQ(platform.messages, Strings{kMessage});
}

TEST_F(SysInfoLauncherTest, TextValuesAreCutAtTheirFirstNulAndMayFillTheBuffer) {
    std::string value = "keep";
    platform.SetValue(kTool, "PATH", kRegSz, std::string("C:\\a.exe\0tail\0", 14));
    EXPECT_TRUE(launcher.GetKeyValue(kHkeyLocalMachine, kTool, "PATH", value));
    EXPECT_EQ(value, "C:\\a.exe");

    // Stored without a terminator: the zeroed buffer supplies one.
    platform.SetValue(kTool, "PATH", kRegSz, "abc");
    EXPECT_TRUE(launcher.GetKeyValue(kHkeyLocalMachine, kTool, "PATH", value));
    EXPECT_EQ(value, "abc");

    // 1023 characters and the terminator fill the buffer exactly.
    platform.SetText(kTool, "PATH", std::string(1023, 'x'));
    EXPECT_TRUE(launcher.GetKeyValue(kHkeyLocalMachine, kTool, "PATH", value));
    EXPECT_EQ(value, std::string(1023, 'x'));

    // One byte more does not fit: the value cannot be read.
    platform.SetText(kTool, "PATH", std::string(1024, 'x'));
    EXPECT_FALSE(launcher.GetKeyValue(kHkeyLocalMachine, kTool, "PATH", value));
    EXPECT_EQ(value, "");

    // 1024 bytes with no NUL anywhere: an error, and the key is still closed (TearDown).
    value = "keep";
    platform.SetValue(kTool, "PATH", kRegSz, std::string(1024, 'x'));
    EXPECT_ANY_THROW(launcher.GetKeyValue(kHkeyLocalMachine, kTool, "PATH", value));
    platform.SetValue(kTool, "PATH", kRegBinary, std::string(1024, 'x'));
    EXPECT_ANY_THROW(launcher.GetKeyValue(kHkeyLocalMachine, kTool, "PATH", value));
    EXPECT_EQ(value, "keep");
}

TEST_F(SysInfoLauncherTest, NumbersReplaceTheTextWithTheirWholeDecimalValue) {
    const auto dword = [](std::uint32_t n) {
        return std::string{static_cast<char>(n & 0xFF), static_cast<char>(n >> 8 & 0xFF),
                           static_cast<char>(n >> 16 & 0xFF), static_cast<char>(n >> 24)};
    };
    const std::vector<std::pair<std::uint32_t, std::string>> cases = {
        {0x00003412, "13330"},
        {0x00010002, "65538"},
        {0x00003400, "13312"},
        {0xFFFFFFFF, "4294967295"},
        {0, "0"},
    };
    for (const auto& [number, text] : cases) {
        std::string value = "previous";
        platform.SetValue(kTool, "N", kRegDword, dword(number));
        EXPECT_TRUE(launcher.GetKeyValue(kHkeyLocalMachine, kTool, "N", value));
        EXPECT_EQ(value, text) << number;
    }
}

TEST_F(SysInfoLauncherTest, OtherTypesKeepTheTextAndMissingValuesEmptyIt) {
    std::string value = "previous";
    platform.SetValue(kTool, "B", kRegBinary, "\x01\x02");
    EXPECT_TRUE(launcher.GetKeyValue(kHkeyLocalMachine, kTool, "B", value));
    EXPECT_EQ(value, "previous");

    EXPECT_FALSE(launcher.GetKeyValue(kHkeyLocalMachine, kTool, "Missing", value));
    EXPECT_EQ(value, "");

    value = "previous";
    EXPECT_FALSE(launcher.GetKeyValue(kHkeyLocalMachine, "SOFTWARE\\Nowhere", "PATH", value));
    EXPECT_EQ(value, "");
    EXPECT_EQ(platform.closes.size(), 2u); // the two keys that opened, and only those
}

} // namespace
} // namespace tamlo
