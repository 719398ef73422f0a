#include "ui/about/sys_info.h"

#include "ui/about/sys_info_launcher.h"

#include <QWidget>

#ifdef _WIN32
#include "ui/about/win_launcher_platform.h"
#else
#include "ui/about/qt_launcher_platform.h"
#endif

namespace tamlo {

void StartSysInfoOver(QWidget* parent) {
#ifdef _WIN32
    WinLauncherPlatform platform(parent != nullptr ? reinterpret_cast<void*>(parent->winId())
                                                   : nullptr);
#else
    QtLauncherPlatform platform(QtLauncherPlatform::LoadStore(), parent);
#endif
    SysInfoLauncher(platform).StartSysInfo();
}

} // namespace tamlo
