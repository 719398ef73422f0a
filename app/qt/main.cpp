// Start-up: the game window is the program; closing it ends the run.
#include "app/core/display_choice.h"
#include "ui/about/qt/qt_launcher_platform.h"
#include "ui/common/qt/font_substitutions.h"
#include "ui/common/qt/modal_keeper.h"
#include "ui/main_window/qt/frm_tamlo.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QList>
#include <QProcessEnvironment>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct HeldMessage {
    QtMsgType type;
    const char* category; // the names of logging categories are static texts
    QString text;
};

QList<HeldMessage>& HeldMessages() {
    static QList<HeldMessage> held;
    return held;
}

std::string& FailureLine() {
    static std::string line;
    return line;
}

// While the toolkit opens the display its messages are held back: the only fatal one it can
// raise then is that no display could be opened, and that deserves one plain line that names
// what is missing instead of a page that blames the installation and an abort.
void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", FailureLine().c_str());
        std::_Exit(EXIT_FAILURE);
    }
    HeldMessages().append({type, context.category, text});
}

// Whether a platform plugin whose file name starts with prefix lies where the toolkit looks.
bool HasPlatformPlugin(const QString& prefix) {
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator());
    folders.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    for (QString& folder : folders) {
        folder += QStringLiteral("/platforms");
    }
    folders.append(qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"));
    for (const QString& folder : folders) {
        if (!folder.startsWith(u'/')) {
            continue;
        }
        if (!QDir(folder).entryList({prefix + QStringLiteral("*.so")}, QDir::Files).isEmpty()) {
            return true;
        }
    }
    return false;
}

tamlo::DisplayChoice ChooseDisplay() {
    const auto variable = [](const char* name) { return qEnvironmentVariable(name).toStdString(); };
    return tamlo::DisplayChoice({variable("QT_QPA_PLATFORM"), variable("DISPLAY"),
                                 variable("WAYLAND_DISPLAY"), variable("XDG_SESSION_TYPE"),
                                 HasPlatformPlugin(QStringLiteral("libqxcb")),
                                 HasPlatformPlugin(QStringLiteral("libqwayland-"))});
}

bool IsOwnEntry(const QByteArray& path, mode_t type, mode_t mode) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && (info.st_mode & S_IFMT) == type &&
           info.st_uid == ::getuid() && (mode == 0 || (info.st_mode & 07777) == mode);
}

// The game writes no file and starts no process for the toolkit's sake. Without
// XDG_RUNTIME_DIR the toolkit makes a folder of its own under /tmp: the login session's folder,
// where there is one, is what the variable would name. Without a session bus the D-Bus library
// would start one (dbus-launch), which writes under ~/.dbus and outlives the game; with no bus
// there is no one to talk to, a screen reader included, so none is started.
void PrepareSession() {
    const QByteArray ownRuntime = "/run/user/" + QByteArray::number(::getuid());
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && IsOwnEntry(ownRuntime, S_IFDIR, 0700)) {
        qputenv("XDG_RUNTIME_DIR", ownRuntime);
    }
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        (runtime.isEmpty() || !IsOwnEntry(runtime + "/bus", S_IFSOCK, 0))) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    }
}

} // namespace

int main(int argc, char** argv) {
    // The game takes no arguments. The toolkit sees the program's name alone, and the platforms
    // start-up chooses, so that nothing on the command line can load a plugin, read a style
    // sheet, pick a display or open a listener.
    char name[] = "tamlo-qt350";
    char platformOption[] = "-platform";
    const tamlo::DisplayChoice display = ChooseDisplay();
    FailureLine() = display.FailureMessage();
    std::string platforms = display.Platforms();
    std::vector<char*> toolkitArgs = {argc > 0 && argv[0] != nullptr ? argv[0] : name};
    if (!platforms.empty()) {
        toolkitArgs.insert(toolkitArgs.end(), {platformOption, platforms.data()});
    }
    toolkitArgs.push_back(nullptr);
    int toolkitArgc = static_cast<int>(toolkitArgs.size()) - 1;

    tamlo::QtLauncherPlatform::SetToolEnvironment(QProcessEnvironment::systemEnvironment());
    PrepareSession();

    const QtMessageHandler normal = qInstallMessageHandler(HoldMessage);
    QApplication app(toolkitArgc, toolkitArgs.data());
    qInstallMessageHandler(normal);
    for (const HeldMessage& message : HeldMessages()) {
        // A platform tried first and not there (XWayland not running) is no news once the next
        // one opened the window.
        const QByteArray category(message.category);
        if (!platforms.empty() && (category == "qt.qpa.xcb" || category == "qt.qpa.plugin")) {
            continue;
        }
        qt_message_output(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category),
                          message.text);
    }
    HeldMessages().clear();

    QApplication::setApplicationName(QStringLiteral("tamlo-qt350"));
    QApplication::setApplicationVersion(QStringLiteral(TAMLO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TAMLO_APP_ID));
    tamlo::FontSubstitutions::Install();
    tamlo::ModalKeeper::Install();

    int status = 0;
    {
        tamlo::FrmTamlo window;
        window.show();
        status = QApplication::exec();
    }
    // The toolkit's Wayland client, as Debian ships it, can deadlock while it closes its
    // connection: its event thread waits for a read that the main thread prepared and will never
    // make, and the game's window is gone while its process stays. Nothing of the game's is left
    // to tear down by now, so a native Wayland run ends here.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
