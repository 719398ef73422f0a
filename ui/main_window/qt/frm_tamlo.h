#pragma once

#include "engine/clock_random_source.h"
#include "engine/game_engine.h"
#include "engine/game_view.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QAction;

namespace tamlo {

class IntervalTimer;

// The game window: the calculator display, the status labels, the key legend and the "About"
// label, and the two timers that drive the game. It owns the engine, routes keys and timer ticks
// to it, and shows what the engine writes.
class FrmTamlo final : public QWidget, public GameView {
    Q_OBJECT

public:
    explicit FrmTamlo(QWidget* parent = nullptr);
    ~FrmTamlo() override;

    FrmTamlo(const FrmTamlo&) = delete;
    FrmTamlo& operator=(const FrmTamlo&) = delete;

    const GameState& State() const { return engine_.State(); }

public slots:
    // The About command, also reached by a mouse press on the "About" label.
    void mnuAbout_Click();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_KeyDown(int keyCode);
    void Form_MouseDown();
    void txtAbout_MouseDown();

    void SetDisplayText(std::string_view text) override;
    void SetCaption(StatusLabel label, std::string_view text) override;
    void SetTimerEnabled(GameTimer timer, bool enabled) override;
    std::int32_t MarchInterval() const override;
    void SetMarchInterval(std::int32_t milliseconds) override;

    // What the window drives, made from its design table.
    IntervalTimer* TimerWait_ = nullptr;
    IntervalTimer* TimerLevel_ = nullptr;
    QLineEdit* txtDisplay_ = nullptr;
    QLabel* txtAbout_ = nullptr;
    QAction* mnuAbout_ = nullptr;

    ClockRandomSource random_;
    GameEngine engine_;
};

} // namespace tamlo
