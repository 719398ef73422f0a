// The game window's wiring on the offscreen platform: the timers and what the engine writes, how
// labels fit it, the About command, and a name its design table lacks. What a person sees and
// hears on a real desktop is tested there (tests/app/desktop_test.py).
#include "tests/ui/common/qt/modal_window.h"
#include "tests/ui/common/qt/whole_text.h"
#include "ui/common/qt/font_substitutions.h"
#include "ui/common/qt/interval_timer.h"
#include "ui/common/qt/qt_form.h"
#include "ui/main_window/core/frm_tamlo_design.h"
#include "ui/main_window/qt/frm_tamlo.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <stdexcept>

using tamlo::FrmTamlo;
using tamlo::testing::OnModal;

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
    // Presses "About" with a mouse button and runs act in the About window.
    void WithAbout(Qt::MouseButton button, std::function<void(QDialog&)> act) const {
        OnModal("tamlo::frmAbout", std::move(act));
        QTest::mousePress(find("txtAbout"), button, Qt::NoModifier, QPoint(3, 3));
        QTest::mouseRelease(find("txtAbout"), button, Qt::NoModifier, QPoint(3, 3));
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
        for (QLabel* label : window->findChildren<QLabel*>()) {
            QVERIFY2(tamlo::testing::ShowsWholeText(*label), qPrintable(label->text()));
        }
    }

    // Any button on "About" opens the About window modally over the game, which takes no keys
    // meanwhile while its march goes on.
    void anyButtonOnAboutOpensItModalWhileTheMarchGoesOn() {
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            QStringList seen;
            WithAbout(button, [&](QDialog& about) {
                const QString before = display();
                QTest::keyClick(window->windowHandle(), Qt::Key_Left);
                tick("TimerLevel");
                seen << about.parentWidget()->objectName() + " owns " + about.objectName()
                     << before.left(2) << display().left(2)
                     << (display() != before ? "marched" : "stood");
                about.findChild<QPushButton*>("cmdOK")->click();
            });
            QCOMPARE(seen, QStringList({"FrmTamlo owns frmAbout", "1-", "1-", "marched"}));
        }
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
