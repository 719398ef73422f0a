#include "ui/main_window/qt/font_substitutions.h"
#include "ui/main_window/qt/frm_tamlo.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTimer>

#include <memory>

using tamlo::FrmTamlo;
using tamlo::GameView;
using tamlo::StatusLabel;

class FrmTamloTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FrmTamlo> window;

    QLabel* label(const char* name) const {
        return window->findChild<QLabel*>(QString::fromLatin1(name));
    }
    QLineEdit* display() const {
        return window->findChild<QLineEdit*>(QStringLiteral("txtDisplay"));
    }
    QTimer* timer(const char* name) const {
        return window->findChild<QTimer*>(QString::fromLatin1(name));
    }
    QString text(const char* name) const { return label(name)->text(); }

    // A tick of a timer, as the event loop would deliver it.
    void tick(const char* name) const {
        QVERIFY(QMetaObject::invokeMethod(timer(name), "timeout", Qt::DirectConnection));
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(window.get(), key, modifiers);
    }
    void land() const {
        for (int i = 0; i < 7; ++i) {
            tick("TimerLevel");
        }
    }
    void expectPlayingLevelOne() const {
        QCOMPARE(text("txtLevel"), QStringLiteral("Level : 1"));
        QCOMPARE(text("txtScore"), QStringLiteral("Score : 000000"));
        QCOMPARE(text("txtNoLand"), QStringLiteral("Land : 0"));
        QCOMPARE(text("txtMissFire"), QStringLiteral("Miss Fire : 0"));
        QCOMPARE(text("txtMessage"), QString());
        QCOMPARE(display()->text(), QStringLiteral("1-      "));
        QVERIFY(timer("TimerLevel")->isActive());
        QCOMPARE(timer("TimerLevel")->interval(), 1000);
        QVERIFY(!timer("TimerWait")->isActive());
        QVERIFY(!window->State().Waiting);
    }
    // Every label shows its whole text inside its box.
    void expectNoLabelClipped() const {
        for (const QLabel* l : window->findChildren<QLabel*>()) {
            const QRect needed = l->fontMetrics().boundingRect(
                l->rect(),
                static_cast<int>(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0),
                l->text());
            QVERIFY2(l->rect().contains(needed),
                     qPrintable(l->objectName() + QStringLiteral(": ") + l->text()));
        }
    }

private slots:
    void initTestCase() { tamlo::FontSubstitutions::Install(); }

    void init() {
        window = std::make_unique<FrmTamlo>();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { window.reset(); }

    // The first picture is a new game in a fixed, centred window laid out as designed.
    void startsWithANewGameInItsDesignedLayout() {
        expectPlayingLevelOne();
        QCOMPARE(window->windowTitle(), QStringLiteral("Tamlo QT-350 Simulator"));
        QCOMPARE(window->size(), QSize(260, 332));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(window->findChildren<QMenuBar*>().size(), 0);
        const QRect screen = window->screen()->availableGeometry();
        // Centred up to the window frame, which the window manager adds after the placement.
        const QSize frameExtra = window->frameGeometry().size() - window->size();
        QVERIFY(qAbs(window->geometry().center().x() - screen.center().x()) <=
                frameExtra.width() + 1);
        QVERIFY(qAbs(window->geometry().center().y() - screen.center().y()) <=
                frameExtra.height() + 1);

        struct Place {
            const char* name;
            QPoint position;
            const char* text;
            int pixelSize;
        };
        const Place places[] = {
            {"txtAbout", {200, 280}, "About", 13},
            {"txtMessage", {8, 168}, "", 18},
            {"txtLevel", {68, 40}, "Level : 1", 16},
            {"txtScore", {64, 16}, "Score : 000000", 16},
            {"Label4", {64, 248}, "R - Restart", 13},
            {"txtNoLand", {64, 144}, "Land : 0", 11},
            {"txtMissFire", {64, 128}, "Miss Fire : 0", 11},
            {"Label3", {64, 280}, "Esc : Exit", 13},
            {"Label2", {64, 232}, "Down Arrow - Fire", 13},
            {"Label1", {64, 216}, "Left Arrow - Aim", 13},
        };
        for (const Place& place : places) {
            const QLabel* l = label(place.name);
            QVERIFY2(l != nullptr, place.name);
            QCOMPARE(l->pos(), place.position);
            QCOMPARE(l->text(), QString::fromLatin1(place.text));
            QCOMPARE(l->font().pixelSize(), place.pixelSize);
            QVERIFY(l->focusPolicy() == Qt::NoFocus);
        }
        QCOMPARE(label("txtMessage")->size(), QSize(249, 25));
        QCOMPARE(label("txtLevel")->size(), QSize(92, 20));
        QVERIFY(label("txtMessage")->alignment() & Qt::AlignHCenter);
        QCOMPARE(label("txtAbout")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(label("txtMessage")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(label("txtAbout")->font().weight(), 700);
        QCOMPARE(label("txtNoLand")->font().weight(), 400);
        QCOMPARE(label("txtNoLand")->font().family(), QStringLiteral("MS Sans Serif"));
        expectNoLabelClipped();

        QCOMPARE(display()->geometry(), QRect(64, 80, 137, 33));
        QCOMPARE(display()->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(display()->font().pixelSize(), 27);
        QVERIFY(!display()->isEnabled());
        // The eight characters fit without scrolling: the first stays at the left edge.
        QStyleOptionFrame frame;
        frame.initFrom(display());
        frame.rect = display()->rect();
        frame.lineWidth =
            display()->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, display());
        const QRect contents = display()
                                   ->style()
                                   ->subElementRect(QStyle::SE_LineEditContents, &frame, display())
                                   .marginsRemoved(display()->textMargins());
        const int lineEditMargin = 2; // the line edit's own margin on each side
        QVERIFY(display()->fontMetrics().horizontalAdvance(QStringLiteral("n-999999")) <=
                contents.width() - 2 * lineEditMargin);

        QCOMPARE(timer("TimerLevel")->timerType(), Qt::PreciseTimer);
        QCOMPARE(timer("TimerWait")->timerType(), Qt::PreciseTimer);
        QCOMPARE(timer("TimerWait")->interval(), 2000);
        auto* menu = window->findChild<QMenu*>(QStringLiteral("mnuPopMenu"));
        QVERIFY(menu != nullptr && !menu->isVisible());
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->objectName(), QStringLiteral("mnuAbout"));
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("About"));
        QVERIFY(menu->actions().first()->shortcut().isEmpty());
        QCOMPARE(QApplication::focusWidget(), window.get());
    }

    // The window is the engine's view: what the engine writes is what the controls show.
    void theMarchLandsOnTheSeventhTickAndPausesForOneWaitTick() {
        for (int i = 0; i < 6; ++i) {
            tick("TimerLevel");
        }
        const QString full = display()->text();
        QVERIFY(!full.contains(QLatin1Char(' ')));
        tick("TimerLevel");
        QCOMPARE(text("txtMessage"), QStringLiteral("Land!"));
        QCOMPARE(text("txtNoLand"), QStringLiteral("Land : 1"));
        QCOMPARE(display()->text(), full);
        QVERIFY(!timer("TimerLevel")->isActive());
        QVERIFY(timer("TimerWait")->isActive());
        QCOMPARE(timer("TimerWait")->interval(), 2000);
        tick("TimerWait");
        QCOMPARE(display()->text(), QStringLiteral("1-      "));
        QVERIFY(timer("TimerLevel")->isActive());
        QVERIFY(!timer("TimerWait")->isActive());
    }

    // Aim and fire keys are dropped during a pause and after the game is over.
    void aimAndFireAreIgnoredWhileWaiting() {
        key(Qt::Key_Left);
        QCOMPARE(display()->text().left(2), QStringLiteral("2-"));
        key(Qt::Key_Down);
        QCOMPARE(text("txtMissFire"), QStringLiteral("Miss Fire : 1"));

        land();
        const QString paused = display()->text();
        key(Qt::Key_Left);
        key(Qt::Key_Down);
        QCOMPARE(display()->text(), paused);
        QCOMPARE(text("txtMissFire"), QStringLiteral("Miss Fire : 1"));

        tick("TimerWait");
        for (int i = 1; i < 30; ++i) {
            key(Qt::Key_Down); // at an empty row: misses
        }
        QCOMPARE(text("txtMessage"), QStringLiteral("Game Over!"));
        QVERIFY(!timer("TimerLevel")->isActive() && !timer("TimerWait")->isActive());
        const QString over = display()->text();
        key(Qt::Key_Left);
        key(Qt::Key_Down);
        QCOMPARE(display()->text(), over);
        QCOMPARE(text("txtMissFire"), QStringLiteral("Miss Fire : 30"));
    }

    // R, with or without Shift or Ctrl, starts a new game from playing, paused and over alike.
    void restartWorksInEveryConditionAndIgnoresModifiers() {
        key(Qt::Key_Left);
        tick("TimerLevel");
        key(Qt::Key_R);
        expectPlayingLevelOne();

        land();
        QVERIFY(timer("TimerWait")->isActive());
        key(Qt::Key_R, Qt::ShiftModifier);
        expectPlayingLevelOne();

        for (int i = 0; i < 30; ++i) {
            key(Qt::Key_Down);
        }
        QCOMPARE(text("txtMessage"), QStringLiteral("Game Over!"));
        key(Qt::Key_R, Qt::ControlModifier);
        expectPlayingLevelOne();

        // Auto-repeat counts: each repeated press is one more aim step.
        for (int i = 0; i < 10; ++i) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(window.get(), &repeat);
        }
        QCOMPARE(display()->text().left(2), QStringLiteral("1-"));
        key(Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(display()->text().left(2), QStringLiteral("2-"));
    }

    void keysOutsideTheTableDoNothing() {
        tick("TimerLevel");
        const QString before = display()->text();
        const Qt::Key others[] = {Qt::Key_Right, Qt::Key_Up,     Qt::Key_1,         Qt::Key_9,
                                  Qt::Key_N,     Qt::Key_Space,  Qt::Key_Return,    Qt::Key_Enter,
                                  Qt::Key_Tab,   Qt::Key_F1,     Qt::Key_Backspace, Qt::Key_Menu,
                                  Qt::Key_Q,     Qt::Key_Delete, Qt::Key_Home};
        for (Qt::Key other : others) {
            key(other);
            key(other, Qt::AltModifier);
        }
        QCOMPARE(display()->text(), before);
        QCOMPARE(text("txtMissFire"), QStringLiteral("Miss Fire : 0"));
        QVERIFY(window->isVisible());
        QCOMPARE(QApplication::focusWidget(), window.get());
    }

    // Clicks change nothing: no focus for the display, no context menu anywhere.
    void mousePressesOutsideAboutChangeNothing() {
        const QString before = display()->text();
        QTest::mouseClick(display(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseDClick(display(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        for (QWidget* target :
             {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(display()),
              static_cast<QWidget*>(label("txtScore"))}) {
            QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2),
                                        target->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(target, &menuEvent);
            QCOMPARE(QApplication::activePopupWidget(), nullptr);
        }
        QCOMPARE(display()->text(), before);
        QCOMPARE(QApplication::focusWidget(), window.get());
        key(Qt::Key_Left);
        QCOMPARE(display()->text().left(2), QStringLiteral("2-"));
    }

    // Auto-size labels grow with their text; the message fits its fixed box.
    void labelsFollowTheirTextWithoutClipping() {
        for (int i = 0; i < 10; ++i) {
            key(Qt::Key_Down);
        }
        QCOMPARE(text("txtMissFire"), QStringLiteral("Miss Fire : 10"));
        QCOMPARE(label("txtMissFire")->pos(), QPoint(64, 128));
        expectNoLabelClipped();

        GameView& view = *window;
        view.SetCaption(StatusLabel::txtScore, "Score : 1234567");
        view.SetCaption(StatusLabel::txtMessage, "Advance to Next Level...");
        view.SetCaption(StatusLabel::txtNoLand, "Land : 3");
        QCOMPARE(label("txtScore")->pos(), QPoint(64, 16));
        QCOMPARE(QAccessible::queryAccessibleInterface(display())->text(QAccessible::Value),
                 display()->text());
        QCOMPARE(label("txtMessage")->size(), QSize(249, 25));
        expectNoLabelClipped();
        // One line: the message does not wrap.
        QCOMPARE(
            label("txtMessage")->fontMetrics().boundingRect(label("txtMessage")->text()).height(),
            label("txtMessage")->fontMetrics().height());
        QVERIFY(label("txtMessage")->fontMetrics().horizontalAdvance(label("txtMessage")->text()) <=
                249);
    }

    // Any mouse button pressed on "About" opens a fresh About window over the game, which goes on
    // behind it without taking keys.
    void anyButtonOnAboutOpensTheAboutWindowWhileTheGameGoesOn() {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            tick("TimerLevel");
            bool opened = false, ownedByGame = false, keysBlocked = false, marching = false,
                 marched = false;
            QString title;
            QTimer::singleShot(0, window.get(), [&] {
                auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                opened = about != nullptr && about->objectName() == QLatin1String("frmAbout");
                if (!opened) {
                    return;
                }
                ownedByGame = about->parentWidget() == window.get();
                title = about->findChild<QLabel*>(QStringLiteral("lblTitle"))->text();
                const QString before = display()->text();
                QTest::keyClick(window->windowHandle(), Qt::Key_Left);
                QTest::keyClick(window->windowHandle(), Qt::Key_R);
                keysBlocked = display()->text() == before;
                marching = timer("TimerLevel")->isActive();
                QMetaObject::invokeMethod(timer("TimerLevel"), "timeout", Qt::DirectConnection);
                marched = display()->text() != before;
                about->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            });
            QTest::mousePress(label("txtAbout"), button, Qt::NoModifier, QPoint(5, 5));
            QVERIFY2(opened, "the About window opens on the press");
            QVERIFY(ownedByGame);
            QCOMPARE(title, QStringLiteral("Tamlo QT-350"));
            QVERIFY(keysBlocked);
            QVERIFY(marching);
            QVERIFY(marched);
            QTest::mouseRelease(label("txtAbout"), button, Qt::NoModifier, QPoint(5, 5));
            QCOMPARE(QApplication::activeModalWidget(), nullptr);
            key(Qt::Key_R);
        }
    }

    void escapeClosesTheWindow() {
        land();
        key(Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(FrmTamloTest)
#include "frm_tamlo_test.moc"
