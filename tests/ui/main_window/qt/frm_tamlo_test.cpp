// The game window's wiring on the offscreen platform: the timers and what the engine writes, a
// level advance, and a name its design table lacks. What a person sees and hears on a real
// desktop, About opened by each mouse button among it, is tested there (tests/app/desktop_test.py).
#include "ui/common/qt/font_substitutions.h"
#include "ui/common/qt/interval_timer.h"
#include "ui/common/qt/qt_form.h"
#include "ui/main_window/core/frm_tamlo_design.h"
#include "ui/main_window/qt/frm_tamlo.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>
#include <stdexcept>

using tamlo::FrmTamlo;

class FrmTamloTest : public QObject {
    Q_OBJECT

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

private slots:
    void initTestCase() { tamlo::FontSubstitutions::Install(); }
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

    // Sixteen hits advance the level with its message and a faster march.
    void aLevelAdvanceSpeedsTheMarch() {
        while (text("txtMessage").isEmpty()) {
            tick("TimerLevel");
            for (int press = 0; display().at(7) != ' ' && display()[0] != display().at(7);
                 ++press) {
                QVERIFY2(press < 10, "ten presses of Left do not aim at the invader");
                QTest::keyClick(window.get(), Qt::Key_Left);
            }
            QTest::keyClick(window.get(), Qt::Key_Down);
        }
        QCOMPARE(text("txtMessage"), QStringLiteral("Advance to Next Level..."));
        tick("TimerWait");
        QCOMPARE(text("txtLevel"), QStringLiteral("Level : 2"));
        QCOMPARE(find<tamlo::IntervalTimer>("TimerLevel")->interval(), 800);
    }

    // A name the design table lacks, or a control of another class, stops the program instead of
    // driving another control.
    void aNameNotInTheTableIsRefused() {
        using tamlo::QtForm;
        const auto& design = tamlo::kFrmTamloDesign;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range,
                                 QtForm::Get<QLabel>(*window, design, "txtAbuot"));
        QVERIFY_THROWS_EXCEPTION(std::logic_error,
                                 QtForm::Get<QLineEdit>(*window, design, "txtAbout"));
        QCOMPARE(QtForm::Get<QLabel>(*window, design, "Label4").text(),
                 QStringLiteral("R - Restart"));
    }
};

QTEST_MAIN(FrmTamloTest)
#include "frm_tamlo_test.moc"
