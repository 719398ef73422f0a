// Start-up: the game window is the program; closing it ends the run.
#include "ui/about/qt/qt_launcher_platform.h"
#include "ui/common/qt/font_substitutions.h"
#include "ui/main_window/qt/frm_tamlo.h"

#include <QApplication>
#include <QList>
#include <QProcessEnvironment>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

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

// While the toolkit opens the display its messages are held back: the only fatal one it can
// raise then is that no display could be opened, and that deserves one plain line instead of a
// page that blames the installation and an abort.
void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr,
                     "tamlo-qt350: cannot open an X11 or Wayland display (%s); run it from a "
                     "desktop session or set DISPLAY\n",
                     display.isEmpty() ? "DISPLAY is not set" : ("DISPLAY=" + display).constData());
        std::_Exit(EXIT_FAILURE);
    }
    HeldMessages().append({type, context.category, text});
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
    // The game takes no arguments. The toolkit sees the program's name alone, so that nothing on
    // the command line can load a plugin, read a style sheet, pick a display or open a listener.
    char name[] = "tamlo-qt350";
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : name, nullptr};

    tamlo::QtLauncherPlatform::SetToolEnvironment(QProcessEnvironment::systemEnvironment());
    PrepareSession();

    const QtMessageHandler normal = qInstallMessageHandler(HoldMessage);
    QApplication app(toolkitArgc, toolkitArgv);
    qInstallMessageHandler(normal);
    for (const HeldMessage& message : HeldMessages()) {
        qt_message_output(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category),
                          message.text);
    }
    HeldMessages().clear();

    QApplication::setApplicationName(QStringLiteral("tamlo-qt350"));
    QApplication::setApplicationVersion(QStringLiteral(TAMLO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TAMLO_APP_ID));
    tamlo::FontSubstitutions::Install();

    tamlo::FrmTamlo window;
    window.show();
    return QApplication::exec();
}
