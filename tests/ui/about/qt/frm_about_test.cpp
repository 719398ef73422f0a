// The About window's wiring on the offscreen platform: what it loads, the ways it closes, and
// System Info's message when no tool is found. Its look and its names for a screen reader are
// tested on a real desktop (tests/app/desktop_test.py).
#include "tests/ui/common/qt/modal_window.h"
#include "ui/about/qt/frm_about.h"
#include "ui/common/qt/font_substitutions.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using tamlo::testing::OnModal;

static const QRegularExpression kAboutControls("^(picIcon|cmd(OK|SysInfo)|Line1_[01]|Label1|lbl("
                                               "Description|Title|Version|Disclaimer))$");

class FrmAboutTest : public QObject {
    Q_OBJECT

    QTemporaryDir config;
    std::unique_ptr<QWidget> owner;

    // Opens a fresh About window over the owner and runs act in it.
    void WithAbout(std::function<void(QDialog&)> act) const {
        OnModal("tamlo::frmAbout", std::move(act));
        tamlo::frmAbout::ShowModal(owner.get());
    }

private slots:
    // System Info reads the user's store, here an empty one that names no tool.
    void initTestCase() {
        tamlo::FontSubstitutions::Install();
        QVERIFY(QDir(config.path()).mkpath("tamlo-qt350"));
        QVERIFY(QFile(config.filePath("tamlo-qt350/registry.reg")).open(QIODevice::WriteOnly));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    }
    void init() {
        owner = std::make_unique<QWidget>();
        owner->setObjectName("owner");
        owner->show();
        QVERIFY(QTest::qWaitForWindowActive(owner.get()));
    }
    void cleanup() { owner.reset(); }

    // Each opening is freshly loaded, with all its controls. OK, Esc and Enter close it through
    // OK, the close box without it.
    void itLoadsAndClosesThroughOkOrTheCloseBox() {
        const std::function<void(QDialog&)> ways[] = {
            [](QDialog& about) { about.findChild<QPushButton*>("cmdOK")->click(); },
            [](QDialog& about) { QTest::keyClick(&about, Qt::Key_Escape); },
            [](QDialog& about) { QTest::keyClick(&about, Qt::Key_Return); },
            [](QDialog& about) { about.close(); },
        };
        for (const auto& close : ways) {
            QStringList seen;
            WithAbout([&](QDialog& about) {
                connect(&about, &QDialog::finished,
                        [&seen](int result) { seen << QString::number(result); });
                seen << about.parentWidget()->objectName() + " owns " + about.objectName()
                     << about.findChild<QLabel*>("lblTitle")->text()
                     << about.findChild<QLabel*>("lblVersion")->text()
                     << QString::number(about.findChildren<QWidget*>(kAboutControls).size());
                close(about);
            });
            const QString closed = &close < &ways[3] ? "1" : "0";
            QCOMPARE(seen, QStringList({"owner owns frmAbout", "Tamlo QT-350", "Version 0.0.2",
                                        "10", closed}));
        }
    }

    // Each press of System Info, by Enter while it has the focus, a click or Alt+S, shows the
    // message once, with OK only and no icon, and the About window stays open.
    void systemInfoFailureShowsOneMessagePerPress() {
        QStringList seen;
        const auto answer = [&seen](QDialog& box) {
            const auto& message = static_cast<QMessageBox&>(box);
            seen << QStringLiteral("%1: %2 %3 %4")
                        .arg(message.windowTitle(), message.text())
                        .arg(message.buttons().size())
                        .arg(message.icon());
            message.buttons().front()->click();
        };
        WithAbout([&](QDialog& about) {
            auto* sysInfo = about.findChild<QPushButton*>("cmdSysInfo");
            OnModal("QMessageBox", answer);
            sysInfo->setFocus();
            QTest::keyClick(&about, Qt::Key_Return);

            OnModal("QMessageBox", answer);
            sysInfo->click();
            OnModal("QMessageBox", answer);
            // The box just closed hands the activation back in its own time, later under load;
            // Alt+S reaches only the active window.
            QVERIFY(QTest::qWaitFor(
                [&about] {
                    about.activateWindow();
                    return QApplication::activeWindow() == &about;
                },
                10000));
            QTest::keyClick(&about, Qt::Key_S, Qt::AltModifier);
            QTRY_COMPARE(seen.size(), 3);
            QVERIFY(about.isVisible());
            about.close();
        });
        QCOMPARE(seen, QStringList(
                           3, "Tamlo QT-350: System Information Is Unavailable At This Time 1 0"));
    }
};

QTEST_MAIN(FrmAboutTest)
#include "frm_about_test.moc"
