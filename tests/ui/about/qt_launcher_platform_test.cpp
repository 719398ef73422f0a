#include "ui/about/qt/frm_about.h"
#include "ui/about/qt/qt_launcher_platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using tamlo::QtLauncherPlatform;

// The About window's System Info button on the desktop: which store it reads, what it starts
// and the message box it shows, with real files, programs and environment variables.
class QtLauncherPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void theFirstStoreThatExistsDecidesAndOneThatCannotBeReadGivesTheMessage();
    void theFileTestedIsTheFileStartedAndABareNameIsFoundOnPath();

private:
    // Presses System Info: the path of the tool that ran, or "message".
    QString Press();
    QString Tool(const QString& path);
    void Write(const QString& path, const QByteArray& bytes);

    QTemporaryDir temp;
    QString root;
    tamlo::frmAbout about{nullptr};
    QList<QMessageBox*> boxes;
    QStringList seen; // text, title, buttons, icon and parent of each box
};

void QtLauncherPlatformTest::Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A tool that writes the path it was started by and the marker of the environment it got.
QString QtLauncherPlatformTest::Tool(const QString& path) {
    Write(path, "#!/bin/sh\nprintf '%s%s' \"$0\" \"$TAMLO_MARK\" > '" + QFile::encodeName(root) +
                    "/ran'\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void QtLauncherPlatformTest::initTestCase() {
    QVERIFY(temp.isValid());
    root = temp.path();
    QVERIFY(QDir::setCurrent(root));
    qputenv("HOME", QFile::encodeName(root + "/home"));
    QProcessEnvironment tool = QProcessEnvironment::systemEnvironment();
    tool.insert("TAMLO_MARK", "+");
    QtLauncherPlatform::SetToolEnvironment(tool);
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen << box->text() + "|" + box->windowTitle() + "|" +
                        QString::number(box->standardButtons()) + "|" +
                        QString::number(box->icon()) + "|" +
                        QString::number(box->parentWidget() == &about);
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll->start(10);
}

QString QtLauncherPlatformTest::Press() {
    QFile::remove(root + "/ran");
    const qsizetype before = seen.size();
    about.findChild<QPushButton*>("cmdSysInfo")->click();
    QFile ran(root + "/ran");
    QElapsedTimer clock;
    for (clock.start(); seen.size() == before && clock.elapsed() < 10000; QTest::qWait(20)) {
        if (ran.open(QIODevice::ReadOnly) && ran.readAll().endsWith('+')) {
            ran.seek(0);
            return QFile::decodeName(ran.readAll().chopped(1));
        }
        ran.close();
    }
    return seen.size() > before ? QStringLiteral("message") : QStringLiteral("nothing");
}

void QtLauncherPlatformTest::theFirstStoreThatExistsDecidesAndOneThatCannotBeReadGivesTheMessage() {
    const QByteArray tool =
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n\"PATH\"=\"";
    Write(root + "/sys/tamlo-qt350/registry.reg",
          tool + Tool(root + "/system-tool").toUtf8() + "\"");
    Write(root + "/rel/tamlo-qt350/registry.reg", tool + Tool(root + "/rel-tool").toUtf8() + "\"");
    const QString user = root + "/home/.config/tamlo-qt350/registry.reg";
    const QString userTool = Tool(root + "/user-tool");
    const QString systemTool = root + "/system-tool";
    const std::function<void()> none = [] {};
    struct Case {
        const char* configHome;
        QString configDirs;
        std::function<void()> make;
        QString expected;
    };
    const QList<Case> cases = {
        {"", root + "/sys", none, systemTool},
        {"rel", "rel::" + root + "/sys", none, systemTool},
        {"", root + "/sys", [&] { Write(user, tool + userTool.toUtf8() + "\""); }, userTool},
        {"", root + "/sys", [&] { Write(user, "\x00\x01 garbage"); }, "message"},
        {"", root + "/sys", [&] { Write(user, tool + "/x\"\n;" + QByteArray(1 << 20, ' ')); },
         "message"},
        {"", root + "/sys", [&] { QVERIFY(::mkfifo(QFile::encodeName(user), 0600) == 0); },
         "message"},
        {"", root + "/sys", [&] { QDir().mkpath(user); }, "message"},
        {"", root + "/sys", [&] { QVERIFY(QFile::link(user, user)); }, "message"},
        {"", root + "/sys", [&] { QVERIFY(QFile::link(root + "/nowhere", user)); }, "message"},
        {"", root + "/sys",
         [&] {
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             qstrncpy(address.sun_path, QFile::encodeName(user), sizeof address.sun_path);
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             QVERIFY(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
             ::close(fd);
         },
         "message"},
    };
    for (const Case& c : cases) {
        QFile::remove(user);
        QDir(user).removeRecursively();
        QDir().mkpath(QFileInfo(user).absolutePath());
        qputenv("XDG_CONFIG_HOME", c.configHome);
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(c.configDirs));
        c.make();
        QCOMPARE(Press(), c.expected);
    }
    QCOMPARE(seen.first(), "System Information Is Unavailable At This Time|Tamlo QT-350|" +
                               QString::number(QMessageBox::Ok) + "|0|1");

    // Nothing anywhere: the store built into the program.
    QFile::remove(user);
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root + "/none"));
    const tamlo::RegStore builtIn = QtLauncherPlatform::LoadStore();
    const auto* path =
        builtIn.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    QCOMPARE(path ? path->data : "", std::string("/usr/bin/hardinfo\0", 18));
}

void QtLauncherPlatformTest::theFileTestedIsTheFileStartedAndABareNameIsFoundOnPath() {
    // A shell would split the name at the space and run "touch pwned" between the semicolons; a
    // look-up on $PATH would find the decoy of the same name.
    const QString name = "rel dir;touch pwned;\\MSINFO32.EXE";
    const QString tested = Tool(root + "/" + name);
    Tool(root + "/bin/" + name);
    const QString bare = Tool(root + "/bin/tamlo-bare-tool");
    qputenv("PATH", QFile::encodeName(root + "/bin:") + qgetenv("PATH"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/home/.config"));
    const QString user = root + "/home/.config/tamlo-qt350/registry.reg";

    Write(user, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n"
                "\"MSINFO\"=\"rel dir;touch pwned;\"");
    QCOMPARE(Press(), tested);
    QVERIFY(!QFile::exists("pwned"));

    Write(user, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                "\"PATH\"=\"tamlo-bare-tool\"");
    QCOMPARE(Press(), bare);
}

QTEST_MAIN(QtLauncherPlatformTest)
#include "qt_launcher_platform_test.moc"
