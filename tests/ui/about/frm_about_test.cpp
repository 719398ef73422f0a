// The About window on the offscreen platform: its load step and the ways it closes, and System
// Info's message when the store names no tool. Its look, placement, title and what a screen
// reader gets are tested on a real X server (tests/app/desktop_test.py).
#include "../main_window/on_modal.h"
#include "ui/about/qt/frm_about.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using tamlo::frmAbout;

class FrmAboutTest : public QObject {
    Q_OBJECT

    QTemporaryDir config;

private slots:
    // System Info reads the user's store: one that names no tool.
    void initTestCase() {
        QVERIFY(QDir(config.path()).mkpath(QStringLiteral("tamlo-qt350")));
        QFile store(config.filePath(QStringLiteral("tamlo-qt350/registry.reg")));
        QVERIFY(store.open(QIODevice::WriteOnly) && store.write("REGEDIT4\n") > 0);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    }

    // Every opening loads title and version; OK, Esc and Enter close it through OK, the close
    // box without it.
    void opensLoadedAndClosesAsDesigned() {
        const struct {
            std::function<void(QWidget&)> close;
            int result;
        } ways[] = {
            {[](QWidget& about) { about.findChild<QPushButton*>("cmdOK")->click(); },
             QDialog::Accepted},
            {[](QWidget& about) { QTest::keyClick(&about, Qt::Key_Escape); }, QDialog::Accepted},
            {[](QWidget& about) { QTest::keyClick(&about, Qt::Key_Return); }, QDialog::Accepted},
            {[](QWidget& about) { about.close(); }, QDialog::Rejected},
        };
        for (const auto& way : ways) {
            frmAbout about(nullptr);
            QString title, version;
            OnModal("tamlo::frmAbout", [&](QWidget& open) {
                title = open.findChild<QLabel*>("lblTitle")->text();
                version = open.findChild<QLabel*>("lblVersion")->text();
                way.close(open);
            });
            QCOMPARE(about.exec(), way.result);
            QCOMPARE(title, QStringLiteral("Tamlo QT-350"));
            QCOMPARE(version, QStringLiteral("Version 0.0.2"));
        }
    }

    // Each press of System Info, by click, Alt+S or Enter while it has the focus, shows the
    // message once and keeps the window open.
    void systemInfoFailureShowsOneMessagePerPress() {
        frmAbout about(nullptr);
        QStringList seen;
        const auto answer = [&](QWidget& box) {
            const auto& message = static_cast<QMessageBox&>(box);
            seen << message.windowTitle() + ": " + message.text();
            QCOMPARE(message.buttons().size(), 1);
            QCOMPARE(message.icon(), QMessageBox::NoIcon);
            message.buttons().front()->click();
        };
        bool stillOpen = false;
        OnModal("tamlo::frmAbout", [&](QWidget& open) {
            auto* sysInfo = open.findChild<QPushButton*>("cmdSysInfo");
            OnModal("QMessageBox", answer);
            sysInfo->setFocus();
            QTest::keyClick(&open, Qt::Key_Return);
            OnModal("QMessageBox", answer);
            sysInfo->click();
            OnModal("QMessageBox", answer);
            open.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&open));
            QTest::keyClick(&open, Qt::Key_S, Qt::AltModifier);
            QTRY_COMPARE(seen.size(), 3);
            stillOpen = open.isVisible();
            open.close();
        });
        about.exec();
        const QString expected("Tamlo QT-350: System Information Is Unavailable At This Time");
        QCOMPARE(seen, QStringList({expected, expected, expected}));
        QVERIFY(stillOpen);
    }
};

QTEST_MAIN(FrmAboutTest)
#include "frm_about_test.moc"
