// The two windows' wiring on the offscreen platform: the timers and what the engine writes, how
// labels fit it, the About command and the ways the About window closes, System Info's message.
// What a person sees and hears on a real desktop is tested there (tests/app/desktop_test.py).
#include "ui/common/qt/interval_timer.h"
#include "ui/main_window/qt/font_substitutions.h"
#include "ui/main_window/qt/frm_tamlo.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using tamlo::FrmTamlo;

static const QRegularExpression kAboutControls("^(picIcon|cmd(OK|SysInfo)|Line1_[01]|Label1|lbl("
                                               "Description|Title|Version|Disclaimer))$");

class FrmTamloTest : public QObject {
    Q_OBJECT

    QTemporaryDir config;
    std::unique_ptr<FrmTamlo> window;

    template <class T = QLabel> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QString text(const char* name) const { return find(name)->text(); }
    QString display() const { return find<QLineEdit>("txtDisplay")->text(); }
    bool ticking(const char* name) const { return find<tamlo::IntervalTimer>(name)->isActive(); }
    void tick(const char* name, int times = 1) const {
        for (int i = 0; i < times; ++i) {
            QMetaObject::invokeMethod(find<tamlo::IntervalTimer>(name), "timeout",
                                      Qt::DirectConnection);
        }
    }
    // Runs act on the next modal window of that class once it is open: modal windows return
    // only when closed.
    static void OnModal(const char* className, std::function<void(QDialog&)> act) {
        auto* poll = new QTimer(qApp);
        connect(poll, &QTimer::timeout, [poll, className, act = std::move(act)] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (modal != nullptr && modal->inherits(className)) {
                poll->stop();
                poll->deleteLater();
                act(*modal);
            }
        });
        poll->start(1);
    }
    // Presses "About" with a mouse button and runs act in the About window.
    void WithAbout(Qt::MouseButton button, std::function<void(QDialog&)> act) const {
        OnModal("tamlo::frmAbout", std::move(act));
        QTest::mousePress(find("txtAbout"), button, Qt::NoModifier, QPoint(3, 3));
        QTest::mouseRelease(find("txtAbout"), button, Qt::NoModifier, QPoint(3, 3));
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
        window = std::make_unique<FrmTamlo>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { window.reset(); }

    // A new game at load; the march fills the row, the seventh tick lands and pauses the march
    // for one tick of the wait timer, during which aim and fire keys are dropped.
    void theTimersDriveTheGameAndPauseIt() {
        QCOMPARE(display(), QStringLiteral("1-      "));
        QCOMPARE(find<tamlo::IntervalTimer>("TimerLevel")->interval(), 1000);
        QCOMPARE(find<tamlo::IntervalTimer>("TimerWait")->interval(), 2000);
        QVERIFY(ticking("TimerLevel") && !ticking("TimerWait"));
        tick("TimerLevel", 7);
        const QString landed = display();
        QCOMPARE(text("txtMessage") + text("txtNoLand"), QStringLiteral("Land!Land : 1"));
        QVERIFY(!ticking("TimerLevel") && ticking("TimerWait"));
        QTest::keyClick(window.get(), Qt::Key_Left);
        QTest::keyClick(window.get(), Qt::Key_Down);
        QCOMPARE(display(), landed);
        tick("TimerWait");
        QCOMPARE(display(), QStringLiteral("1-      "));
        QVERIFY(ticking("TimerLevel") && !ticking("TimerWait"));
    }

    // Labels grow with their texts (ten misses); sixteen hits advance the level with its message
    // and a faster march; every label shows its whole text, the fixed message red and bold.
    void aLevelAdvanceSpeedsTheMarchAndLabelsFit() {
        const int narrow = find("txtMissFire")->width();
        for (int miss = 0; miss < 10; ++miss) {
            QTest::keyClick(window.get(), Qt::Key_Down);
        }
        QVERIFY(find("txtMissFire")->width() > narrow);
        while (text("txtMessage").isEmpty()) {
            tick("TimerLevel");
            for (QChar invader = display().at(7); invader != ' ' && display()[0] != invader;) {
                QTest::keyClick(window.get(), Qt::Key_Left);
            }
            QTest::keyClick(window.get(), Qt::Key_Down);
        }
        QCOMPARE(text("txtMessage"), QStringLiteral("Advance to Next Level..."));
        tick("TimerWait");
        QCOMPARE(text("txtLevel"), QStringLiteral("Level : 2"));
        QCOMPARE(find<tamlo::IntervalTimer>("TimerLevel")->interval(), 800);
        QCOMPARE(find("txtMessage")->font().weight(), 700);
        QCOMPARE(find("txtMessage")->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(find("txtMessage")->size(), QSize(249, 25));
        for (QLabel* label : window->findChildren<QLabel*>()) { // auto-size labels: exactly
            QVERIFY2(label->wordWrap()
                         ? label->fontMetrics().horizontalAdvance(label->text()) <= label->width()
                         : label->size() == label->sizeHint(),
                     qPrintable(label->text()));
        }
    }

    // Any button on "About" opens a freshly loaded About window modally over the game, which
    // takes no keys meanwhile while its march goes on. OK, Esc and Enter close it through OK,
    // the close box without it.
    void aboutIsModalWhileTheMarchGoesOn() {
        const std::pair<Qt::MouseButton, std::function<void(QDialog&)>> ways[] = {
            {Qt::LeftButton,
             [](QDialog& about) { about.findChild<QPushButton*>("cmdOK")->click(); }},
            {Qt::RightButton, [](QDialog& about) { QTest::keyClick(&about, Qt::Key_Escape); }},
            {Qt::MiddleButton, [](QDialog& about) { QTest::keyClick(&about, Qt::Key_Return); }},
            {Qt::LeftButton, [](QDialog& about) { about.close(); }},
        };
        for (const auto& [button, close] : ways) {
            QStringList seen;
            WithAbout(button, [&](QDialog& about) {
                connect(&about, &QDialog::finished,
                        [&seen](int result) { seen << QString::number(result); });
                const QString before = display();
                QTest::keyClick(window->windowHandle(), Qt::Key_Left);
                tick("TimerLevel");
                seen << about.parentWidget()->objectName() + " owns " + about.objectName()
                     << about.findChild<QLabel*>("lblTitle")->text()
                     << about.findChild<QLabel*>("lblVersion")->text() << before.left(2)
                     << display().left(2) << (display() != before ? "marched" : "stood")
                     << QString::number(about.findChildren<QWidget*>(kAboutControls).size());
                close(about);
            });
            const QString closed = &close < &ways[3].second ? "1" : "0";
            QCOMPARE(seen, QStringList({"FrmTamlo owns frmAbout", "Tamlo QT-350", "Version 0.0.2",
                                        "1-", "1-", "marched", "10", closed}));
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
        WithAbout(Qt::LeftButton, [&](QDialog& about) {
            auto* sysInfo = about.findChild<QPushButton*>("cmdSysInfo");
            OnModal("QMessageBox", answer);
            sysInfo->setFocus();
            QTest::keyClick(&about, Qt::Key_Return);
            OnModal("QMessageBox", answer);
            sysInfo->click();
            OnModal("QMessageBox", answer);
            about.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&about));
            QTest::keyClick(&about, Qt::Key_S, Qt::AltModifier);
            QTRY_COMPARE(seen.size(), 3);
            QVERIFY(about.isVisible());
            about.close();
        });
        QCOMPARE(seen, QStringList(
                           3, "Tamlo QT-350: System Information Is Unavailable At This Time 1 0"));
    }
};

QTEST_MAIN(FrmTamloTest)
#include "frm_tamlo_test.moc"
