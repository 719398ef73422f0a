#include "bench/game_bot.h"

#include <QApplication>
#include <QKeyEvent>

#include <stdexcept>

GameBot::GameBot(tamlo::FrmTamlo& window)
    : window_(window),
      timerLevel_(window.findChild<tamlo::IntervalTimer*>(QStringLiteral("TimerLevel"))),
      timerWait_(window.findChild<tamlo::IntervalTimer*>(QStringLiteral("TimerWait"))) {
    if (timerLevel_ == nullptr || timerWait_ == nullptr) {
        throw std::runtime_error("the game window has no march or pause timer");
    }
}

void GameBot::Press(Qt::Key key) const {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&window_, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&window_, &release);
}

bool GameBot::ShootNearest() const {
    const tamlo::GameState& state = State();
    if (state.Waiting || state.InRow == 0) {
        return false;
    }
    const char target = state.Row[static_cast<std::size_t>(6 - state.InRow)];
    while (tamlo::GameEngine::AimText(State().Aim)[0] != target) {
        Press(Qt::Key_Left);
    }
    Press(Qt::Key_Down);
    return true;
}

bool GameBot::ShootAndEndPause() const {
    ShootNearest();
    if (!timerWait_->isActive()) {
        return false;
    }
    Tick(*timerWait_);
    return true;
}

void GameBot::Tick(tamlo::IntervalTimer& timer) const {
    QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
}

bool GameBot::PlayToLevel(int level) const {
    constexpr int kStepsPerLevel = 200;
    for (int steps = 0; State().Level < level || State().Waiting; ++steps) {
        if (steps > kStepsPerLevel * level) {
            return false;
        }
        if (timerWait_->isActive()) {
            Tick(*timerWait_);
        } else if (timerLevel_->isActive()) {
            Tick(*timerLevel_);
            ShootNearest();
        } else {
            Press(Qt::Key_R); // the game is over: start again
        }
    }
    return true;
}
