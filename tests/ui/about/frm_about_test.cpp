#include "resources/icons.h"
#include "ui/about/core/app_info.h"
#include "ui/about/qt/frm_about.h"
#include "ui/main_window/qt/font_substitutions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using tamlo::frmAbout;

class FrmAboutTest : public QObject {
    Q_OBJECT

private:
    // Runs `check` on the About window once its modal loop runs, then leaves it with `close`.
    static int whileOpen(
        const std::function<void(frmAbout&)>& check,
        const std::function<void(frmAbout&)>& close = [](frmAbout& about) {
            about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        }) {
        frmAbout about(nullptr);
        QTimer::singleShot(0, &about, [&] {
            check(about);
            if (about.isVisible()) {
                close(about);
            }
        });
        return about.exec();
    }
    static QLabel* label(QWidget& about, const char* name) {
        return about.findChild<QLabel*>(QString::fromLatin1(name));
    }
    static QPushButton* button(QWidget& about, const char* name) {
        return about.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // A message box that is open now, if any.
    static QMessageBox* openMessageBox() {
        return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    }

    QTemporaryDir config;

private slots:
    // System Info looks its tool up in the user's store: here one that names no program, so a
    // press gives the failure message.
    void initTestCase() {
        tamlo::FontSubstitutions::Install();
        QVERIFY(config.isValid());
        QDir(config.path()).mkpath(QStringLiteral("user/tamlo-qt350"));
        QDir(config.path()).mkpath(QStringLiteral("system"));
        QFile store(config.filePath(QStringLiteral("user/tamlo-qt350/registry.reg")));
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                    "\"PATH\"=\"/nonexistent/sysinfo-tool\"\n");
        store.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.filePath(QStringLiteral("user"))));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(config.filePath(QStringLiteral("system"))));
    }

    // Every opening runs the load step: the title and version are written anew.
    void everyOpeningShowsTitleAndVersion() {
        for (int opening = 0; opening < 2; ++opening) {
            QString title, version, caption;
            whileOpen([&](frmAbout& about) {
                title = label(about, "lblTitle")->text();
                version = label(about, "lblVersion")->text();
                caption = about.windowTitle();
            });
            QCOMPARE(title, QStringLiteral("Tamlo QT-350"));
            QCOMPARE(version, QStringLiteral("Version 0.0.2"));
            QCOMPARE(caption, QStringLiteral("About Tamlo QT-300 Simulator"));
        }
        QCOMPARE(tamlo::AppInfo::VersionText(1, 10, 200), "Version 1.10.200");
        QCOMPARE(tamlo::AppInfo::VersionText(0, 0, 0), "Version 0.0.0");
        QCOMPARE(tamlo::AppInfo::VersionText(65535, 7, 42), "Version 65535.7.42");
        QCOMPARE(tamlo::AppInfo::Title, "Tamlo QT-350");
    }

    // The controls stand where they belong, in tab order, and every text fits its box.
    void layoutTabOrderAndTextsFit() {
        frmAbout about(nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.size(), QSize(341, 227));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QVERIFY(
            !(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(about.windowFlags() & Qt::WindowCloseButtonHint);

        const struct {
            const char* name;
            QRect geometry;
        } places[] = {
            {"picIcon", {16, 16, 47, 46}},         {"cmdOK", {251, 159, 82, 23}},
            {"cmdSysInfo", {252, 189, 81, 23}},    {"Label1", {56, 104, 286, 26}},
            {"lblDescription", {72, 80, 249, 14}}, {"lblTitle", {70, 16, 241, 32}},
            {"lblVersion", {70, 52, 249, 15}},     {"lblDisclaimer", {56, 160, 170, 39}},
        };
        for (const auto& place : places) {
            auto* widget = about.findChild<QWidget*>(QString::fromLatin1(place.name));
            QVERIFY2(widget != nullptr, place.name);
            QCOMPARE(widget->geometry(), place.geometry);
        }
        for (QLabel* l : about.findChildren<QLabel*>()) {
            if (l->text().isEmpty()) {
                continue; // the picture box
            }
            const QRect needed = l->fontMetrics().boundingRect(
                l->rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, l->text());
            QVERIFY2(l->rect().contains(needed), qPrintable(l->objectName()));
            QCOMPARE(l->focusPolicy(), Qt::NoFocus);
        }
        QVERIFY(qAbs(label(about, "lblDisclaimer")->text().size() - 96) <= 8);
        QCOMPARE(label(about, "Label1")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(label(about, "lblTitle")->font().weight(), 700);
        QCOMPARE(label(about, "lblTitle")->font().pixelSize(), 13);

        // The picture box shows the program icon inside a 2-pixel sunken frame.
        auto* picture = label(about, "picIcon");
        QCOMPARE(picture->pixmap().size(), QSize(43, 42));
        QCOMPARE(picture->frameShadow(), QFrame::Sunken);
        QCOMPARE(picture->lineWidth(), 2);

        // The separator: a grey row with a white one under it.
        const QImage picture2 = about.grab().toImage();
        QCOMPARE(QColor(picture2.pixel(100, 144)), QColor(0x80, 0x80, 0x80));
        QCOMPARE(QColor(picture2.pixel(100, 145)), QColor(0xFF, 0xFF, 0xFF));

        QCOMPARE(button(about, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));
        QVERIFY(button(about, "cmdOK")->isDefault());
        QCOMPARE(QApplication::focusWidget(), button(about, "cmdOK"));
        QCOMPARE(button(about, "cmdOK")->nextInFocusChain(), button(about, "cmdSysInfo"));
    }

    // Esc and Enter on OK run OK; the close box closes without it; Enter on System Info doesn't
    // close.
    void okEscEnterAndTheCloseBoxClose() {
        QCOMPARE(whileOpen([](frmAbout&) {},
                           [](frmAbout& about) { QTest::keyClick(&about, Qt::Key_Escape); }),
                 int(QDialog::Accepted));
        QCOMPARE(whileOpen([](frmAbout&) {},
                           [](frmAbout& about) { QTest::keyClick(&about, Qt::Key_Return); }),
                 int(QDialog::Accepted));
        QCOMPARE(whileOpen([](frmAbout&) {}, [](frmAbout& about) { about.close(); }),
                 int(QDialog::Rejected));

        bool stillOpen = false;
        QString shown;
        whileOpen([&](frmAbout& about) {
            button(about, "cmdSysInfo")->setFocus();
            QTimer::singleShot(0, [&] {
                if (QMessageBox* box = openMessageBox()) {
                    shown = box->text();
                    box->button(QMessageBox::Ok)->click();
                }
            });
            QTest::keyClick(button(about, "cmdSysInfo"), Qt::Key_Return);
            stillOpen = about.isVisible();
        });
        QCOMPARE(shown, QStringLiteral("System Information Is Unavailable At This Time"));
        QVERIFY(stillOpen);
    }

    // The message when no tool can be started: exact texts, OK only, no icon; the window stays.
    void systemInfoFailureShowsTheMessageOnceAndKeepsTheWindow() {
        int boxes = 0;
        QString text, title;
        QList<QAbstractButton*> buttons;
        QMessageBox::Icon icon = QMessageBox::Critical;
        bool stillOpen = false;
        whileOpen([&](frmAbout& about) {
            // Whatever opens the box, it is read and dismissed as soon as it is there.
            QTimer poll;
            poll.setInterval(5);
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (QMessageBox* box = openMessageBox()) {
                    ++boxes;
                    text = box->text();
                    title = box->windowTitle();
                    buttons = box->buttons();
                    icon = box->icon();
                    box->button(QMessageBox::Ok)->click();
                }
            });
            poll.start();
            button(about, "cmdSysInfo")->click();
            // The access key Alt+S presses the button too (with its short press animation).
            about.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&about));
            QTest::keyClick(&about, Qt::Key_S, Qt::AltModifier);
            QTRY_COMPARE(boxes, 2);
            stillOpen = about.isVisible();
        });
        QCOMPARE(boxes, 2);
        QCOMPARE(text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(title, QStringLiteral("Tamlo QT-350"));
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QVERIFY(stillOpen);
    }

    // The icons have the sizes and palettes the windows and the desktop expect.
    void iconsHaveTheirSizesAndPalettes() {
        const QImage program(QStringLiteral(TAMLO_ICON_DIR "/tamlo.png"));
        QCOMPARE(program.size(), QSize(43, 42));
        QCOMPARE(program.format(), QImage::Format_Indexed8);
        QCOMPARE(program.colorCount(), 256);
        QVERIFY(!program.hasAlphaChannel());
        // The window shows the same picture as the package's file.
        const QImage shown = tamlo::Icons::Program().toImage();
        QCOMPARE(shown.size(), QSize(43, 42));
        QVERIFY(!shown.hasAlphaChannel());
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                 program.convertToFormat(QImage::Format_RGB32));
        const QImage about = tamlo::Icons::About().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(about.size(), QSize(32, 32));
        QSet<QRgb> colours;
        for (int y = 0; y < about.height(); ++y) {
            for (int x = 0; x < about.width(); ++x) {
                colours.insert(about.pixel(x, y));
            }
        }
        QVERIFY(colours.size() <= 16);
        QVERIFY(about != program.scaled(32, 32).convertToFormat(QImage::Format_RGB32));
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QImage theme(
                QStringLiteral(TAMLO_ICON_DIR "/hicolor/%1x%1/apps/org.tamlo.Qt350Simulator.png")
                    .arg(size));
            QCOMPARE(theme.size(), QSize(size, size));
        }
        QVERIFY(QFile::exists(QStringLiteral(TAMLO_ICON_DIR "/tamlo.ico")));
    }
};

QTEST_MAIN(FrmAboutTest)
#include "frm_about_test.moc"
