// The game window's wiring to the engine, on the offscreen platform: timers, what the engine
// writes and how labels fit it, and the About command. What a person sees and hears on a real
// desktop is tested there (tests/app/desktop_test.py).
#include "on_modal.h"
#include "ui/main_window/qt/font_substitutions.h"
#include "ui/main_window/qt/frm_tamlo.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

using tamlo::FrmTamlo;

class FrmTamloTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FrmTamlo> window;

    template <class T = QLabel> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QString text(const char* name) const { return find(name)->text(); }
    QString display() const { return find<QLineEdit>("txtDisplay")->text(); }
    bool ticking(const char* name) const { return find<QTimer>(name)->isActive(); }
    void tick(const char* name, int times = 1) const {
        for (int i = 0; i < times; ++i) {
            QMetaObject::invokeMethod(find<QTimer>(name), "timeout", Qt::DirectConnection);
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
        QCOMPARE(find<QTimer>("TimerLevel")->interval(), 1000);
        QCOMPARE(find<QTimer>("TimerWait")->interval(), 2000);
        QVERIFY(ticking("TimerLevel") && !ticking("TimerWait"));
        QCOMPARE(find<QTimer>("TimerLevel")->timerType(), Qt::PreciseTimer);
        tick("TimerLevel", 7);
        const QString landed = display();
        QCOMPARE(text("txtMessage"), QStringLiteral("Land!"));
        QCOMPARE(text("txtNoLand"), QStringLiteral("Land : 1"));
        QVERIFY(!ticking("TimerLevel") && ticking("TimerWait"));
        QTest::keyClick(window.get(), Qt::Key_Left);
        QTest::keyClick(window.get(), Qt::Key_Down);
        QCOMPARE(display(), landed);
        tick("TimerWait");
        QCOMPARE(display(), QStringLiteral("1-      "));
        QVERIFY(ticking("TimerLevel") && !ticking("TimerWait"));
    }

    // Labels grow with their texts (ten misses); sixteen hits advance the level with its message
    // and a faster march; every label shows its whole text, the fixed message in bold.
    void aLevelAdvanceSpeedsTheMarchAndLabelsFit() {
        const int narrow = find("txtMissFire")->width();
        for (int i = 0; i < 10; ++i) {
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
        QCOMPARE(find<QTimer>("TimerLevel")->interval(), 800);
        QCOMPARE(find("txtMessage")->font().weight(), 700);
        for (QLabel* label : window->findChildren<QLabel*>()) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
        }
    }

    // Any button on "About" opens the About window modally over the game, which takes no keys
    // meanwhile while its march goes on.
    void aboutIsModalWhileTheMarchGoesOn() {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            QWidget* owner = nullptr;
            QString before, after;
            OnModal("tamlo::frmAbout", [&](QWidget& modal) {
                owner = modal.parentWidget();
                before = display();
                QTest::keyClick(window->windowHandle(), Qt::Key_Left);
                tick("TimerLevel");
                after = display();
                modal.close();
            });
            QTest::mousePress(find("txtAbout"), button, Qt::NoModifier, QPoint(3, 3));
            QCOMPARE(owner, window.get());
            QCOMPARE(after.left(2), before.left(2));
            QVERIFY(after != before);
            QTest::mouseRelease(find("txtAbout"), button, Qt::NoModifier, QPoint(3, 3));
        }
    }
};

QTEST_MAIN(FrmTamloTest)
#include "frm_tamlo_test.moc"
