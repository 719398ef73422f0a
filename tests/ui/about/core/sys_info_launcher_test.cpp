// The launcher over the real registry calls and a .reg store read from text in memory: what each
// press of System Info starts or shows; and the version line of the About window.
#include "tests/ui/about/core/desk.h"
#include "ui/about/core/app_info.h"

#include <gtest/gtest.h>

#include <array>
#include <new>
#include <string>
#include <vector>

namespace tamlo {
namespace {

using testing::Desk;
using testing::Hex1024;

#define TOOL "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
#define LOCATION "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n"

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
