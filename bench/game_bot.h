#pragma once

#include "ui/main_window/qt/frm_tamlo.h"

#include "ui/common/qt/interval_timer.h"

// Plays the real game window the way a perfect player would: it reads the game state, presses
// the window's keys and, where a test or a benchmark needs it, delivers timer ticks itself.
class GameBot {
public:
    explicit GameBot(tamlo::FrmTamlo& window);

    tamlo::IntervalTimer& TimerLevel() const { return *timerLevel_; }
    tamlo::IntervalTimer& TimerWait() const { return *timerWait_; }
    const tamlo::GameState& State() const { return window_.State(); }

    void Press(Qt::Key key) const;
    // Aims at the nearest invader and fires; false when the row is empty or the game waits.
    bool ShootNearest() const;
    // After a march tick: shoots the nearest invader and, when that ended the level, ends its
    // pause at once; true when it did (the march timer then starts again).
    bool ShootAndEndPause() const;
    // One tick of a timer, as the event loop would deliver it.
    void Tick(tamlo::IntervalTimer& timer) const;
    // Plays on with ticks delivered directly until the game reaches the given level, then ends
    // that level's opening pause, so the real march timer runs on at the new level's speed.
    // False when the game stalled on the way: a perfect player needs a few dozen ticks a level.
    bool PlayToLevel(int level) const;

private:
    tamlo::FrmTamlo& window_;
    tamlo::IntervalTimer* timerLevel_;
    tamlo::IntervalTimer* timerWait_;
};
