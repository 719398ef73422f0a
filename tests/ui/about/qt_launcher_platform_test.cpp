#include "ui/about/qt/qt_launcher_platform.h"
#include "ui/about/core/sys_info_launcher.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>

using tamlo::QtLauncherPlatform;
using tamlo::RegStore;

class QtLauncherPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theMessageBoxIsModalOverItsParentWithOnlyOkAndNoIcon();
    void theStartRunsTheExactPathWithNoShell();
    void theFileTestWantsAVisibleRegularFile();
    void theUsersStoreComesFirstThenTheSystemsThenTheBuiltIn();
    void theButtonStartsTheToolOrShowsTheMessageOncePerPress();

private:
    static void WriteFile(const QString& path, const QByteArray& bytes);
    // Answers the next modal message box by recording it and pressing OK.
    void AnswerMessageBoxes();

    QTemporaryDir temp;
    QString userConfig;
    QString systemConfig;
    struct Seen {
        QString text;
        QString title;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::Information;
        QWidget* parent = nullptr;
    };
    QList<Seen> seen;
    QTimer* poll = nullptr;
};

void QtLauncherPlatformTest::WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void QtLauncherPlatformTest::init() {
    QVERIFY(temp.isValid());
    userConfig = temp.filePath(QStringLiteral("user"));
    systemConfig = temp.filePath(QStringLiteral("system"));
    QDir().mkpath(userConfig);
    QDir().mkpath(systemConfig);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(userConfig));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(systemConfig));
    QFile::remove(userConfig + QStringLiteral("/tamlo-qt350/registry.reg"));
    QFile::remove(systemConfig + QStringLiteral("/tamlo-qt350/registry.reg"));
    seen.clear();
}

void QtLauncherPlatformTest::cleanup() {
    delete poll;
    poll = nullptr;
}

void QtLauncherPlatformTest::AnswerMessageBoxes() {
    // Polls from inside the modal loop; the box is closed as soon as it is seen.
    poll = new QTimer(this);
    poll->setInterval(10);
    connect(poll, &QTimer::timeout, this, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen.append({box->text(), box->windowTitle(), box->standardButtons(), box->icon(),
                     box->parentWidget()});
        box->button(QMessageBox::Ok)->click();
    });
    poll->start();
}

void QtLauncherPlatformTest::theMessageBoxIsModalOverItsParentWithOnlyOkAndNoIcon() {
    QWidget parent;
    QtLauncherPlatform platform(RegStore(), &parent);
    AnswerMessageBoxes();
    platform.ShowMessage("System Information Is Unavailable At This Time");
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
    QCOMPARE(seen[0].title, QStringLiteral("Tamlo QT-350"));
    QCOMPARE(seen[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen[0].icon, QMessageBox::NoIcon);
    QCOMPARE(seen[0].parent, &parent);
}

void QtLauncherPlatformTest::theStartRunsTheExactPathWithNoShell() {
    // A shell would split this path at the space and run "touch pwned" between the semicolons.
    const QString dir = temp.filePath(QStringLiteral("with space;touch pwned;"));
    const QString script = dir + QStringLiteral("/tool name.sh");
    const QString marker = temp.filePath(QStringLiteral("marker"));
    WriteFile(script, "#!/bin/sh\nprintf '%s' \"$0\" > '" + QFile::encodeName(marker) + "'\n");
    QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QtLauncherPlatform platform(RegStore(), nullptr);
    QVERIFY(platform.StartProgram(QFile::encodeName(script).toStdString()));
    // The script writes its own name, as it was started, in one go.
    const auto written = [&] {
        QFile file(marker);
        return file.open(QIODevice::ReadOnly) ? QFile::decodeName(file.readAll()) : QString();
    };
    QTRY_COMPARE_WITH_TIMEOUT(written(), script, 20000);
    QVERIFY(!QFile::exists(QStringLiteral("pwned")));

    QVERIFY(!platform.StartProgram(""));
    QVERIFY(!platform.StartProgram(QFile::encodeName(dir + QStringLiteral("/none")).toStdString()));
}

void QtLauncherPlatformTest::theFileTestWantsAVisibleRegularFile() {
    QtLauncherPlatform platform(RegStore(), nullptr);
    const QString file = temp.filePath(QStringLiteral("d/MSINFO32.EXE"));
    const QString hidden = temp.filePath(QStringLiteral("d/.MSINFO32.EXE"));
    WriteFile(file, "x");
    WriteFile(hidden, "x");
    const auto test = [&](const QString& path) {
        return platform.IsOrdinaryFile(QFile::encodeName(path).toStdString());
    };
    QVERIFY(test(file));
    QVERIFY(!test(hidden));
    QVERIFY(!test(temp.filePath(QStringLiteral("d"))));
    QVERIFY(!test(temp.filePath(QStringLiteral("d/missing"))));
    QVERIFY(!platform.IsOrdinaryFile(""));
}

void QtLauncherPlatformTest::theUsersStoreComesFirstThenTheSystemsThenTheBuiltIn() {
    const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const auto pathIn = [&](const RegStore& store) {
        const RegStore::Value* value = store.Find(key, "PATH");
        return value != nullptr ? value->data : std::string("<none>");
    };
    QCOMPARE(pathIn(QtLauncherPlatform::LoadStore()), std::string("/usr/bin/hardinfo\0", 18));

    const QByteArray header = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n";
    WriteFile(systemConfig + QStringLiteral("/tamlo-qt350/registry.reg"),
              header + "\"PATH\"=\"/system\"\n");
    QCOMPARE(pathIn(QtLauncherPlatform::LoadStore()), std::string("/system\0", 8));

    WriteFile(userConfig + QStringLiteral("/tamlo-qt350/registry.reg"),
              header + "\"PATH\"=\"/user\"\n");
    QCOMPARE(pathIn(QtLauncherPlatform::LoadStore()), std::string("/user\0", 6));

    // A broken store of the user's holds nothing; it does not fall back to another.
    WriteFile(userConfig + QStringLiteral("/tamlo-qt350/registry.reg"), "\x00\x01garbage");
    QCOMPARE(pathIn(QtLauncherPlatform::LoadStore()), std::string("<none>"));
}

static void StartSysInfoOver(QWidget* parent) {
    tamlo::QtLauncherPlatform platform(tamlo::QtLauncherPlatform::LoadStore(), parent);
    tamlo::SysInfoLauncher(platform).StartSysInfo();
}

void QtLauncherPlatformTest::theButtonStartsTheToolOrShowsTheMessageOncePerPress() {
    QWidget about;
    AnswerMessageBoxes();
    const QString store = userConfig + QStringLiteral("/tamlo-qt350/registry.reg");
    WriteFile(store, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                     "\"PATH\"=\"/nonexistent/hardinfo\"\n");
    StartSysInfoOver(&about);
    StartSysInfoOver(&about);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[1].parent, &about);

    // The fallback directory, written as a Windows export would be (UTF-16 with CRLF).
    const QString dir = temp.filePath(QStringLiteral("tool dir"));
    const QString marker = temp.filePath(QStringLiteral("fallback-marker"));
    WriteFile(dir + QStringLiteral("\\MSINFO32.EXE"),
              "#!/bin/sh\ntouch '" + QFile::encodeName(marker) + "'\n");
    QVERIFY(QFile::setPermissions(dir + QStringLiteral("\\MSINFO32.EXE"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools "
                                  "Location]\r\n\"MSINFO\"=\"%1\"\r\n")
                       .arg(dir);
    QByteArray wide("\xFF\xFE");
    wide.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    WriteFile(store, wide);
    StartSysInfoOver(&about);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 20000);
    QCOMPARE(seen.size(), 2);
}

QTEST_MAIN(QtLauncherPlatformTest)
#include "qt_launcher_platform_test.moc"
