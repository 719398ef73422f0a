#include "ui/main_window/qt/frm_tamlo.h"

#include "resources/icons.h"
#include "ui/about/qt/frm_about.h"
#include "ui/common/qt/accessible_control.h"
#include "ui/common/qt/frame_placement.h"
#include "ui/common/qt/interval_timer.h"
#include "ui/common/qt/qt_form.h"
#include "ui/main_window/core/frm_tamlo_design.h"
#include "ui/main_window/core/game_keys.h"
#include "ui/main_window/qt/virtual_key.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>

namespace tamlo {
namespace {

const WindowDesign& kDesign = kFrmTamloDesign;

QString FromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

FrmTamlo::FrmTamlo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      engine_(*this, random_) {
    QtForm::Build(*this, kDesign);
    TimerWait_ = &QtForm::Get<IntervalTimer>(*this, kDesign, ControlName(GameTimer::TimerWait));
    TimerLevel_ = &QtForm::Get<IntervalTimer>(*this, kDesign, ControlName(GameTimer::TimerLevel));
    txtDisplay_ = &QtForm::Get<QLineEdit>(*this, kDesign, "txtDisplay");
    txtAbout_ = &QtForm::Get<QLabel>(*this, kDesign, "txtAbout");
    mnuAbout_ = &QtForm::Get<QAction>(*this, kDesign, "mnuAbout");

    setWindowIcon(QIcon(Icons::Program()));
    setFocusPolicy(Qt::StrongFocus);
    connect(TimerLevel_, &IntervalTimer::timeout, this, [this] { engine_.TimerLevel_Timer(); });
    connect(TimerWait_, &IntervalTimer::timeout, this, [this] { engine_.TimerWait_Timer(); });

    // Disabled, the display takes no focus and no input: every key goes to the window. Eight
    // characters of the display font need 130 px; the frame and the line edit's own margins
    // leave 129, so the text margins give back one pixel on each side.
    txtDisplay_->setTextMargins(-1, 0, -1, 0);
    // Disabled, the box keeps its flat background but its digits take the labels' colour: the
    // toolkit's greyed-out text is too faint to read on it.
    QPalette readable = txtDisplay_->palette();
    readable.setColor(QPalette::Disabled, QPalette::Text,
                      readable.color(QPalette::Active, QPalette::WindowText));
    txtDisplay_->setPalette(readable);
    txtDisplay_->setAccessibleName(QStringLiteral("Display"));

    txtAbout_->installEventFilter(this);
    AccessibleControl::Attach(*this, QAccessible::Window);
    AccessibleControl::Attach(
        QtForm::Get<QLabel>(*this, kDesign, ControlName(StatusLabel::txtMessage)),
        QAccessible::Notification);
    AccessibleControl::Attach(*txtAbout_, QAccessible::Link, [this] { txtAbout_MouseDown(); });
    // The About command's home is a menu that is never shown.
    connect(mnuAbout_, &QAction::triggered, this, &FrmTamlo::mnuAbout_Click);

    Form_Load();
    FramePlacement::CentreOn(*this, [this] { return screen()->availableGeometry(); });
    setFocus();
}

FrmTamlo::~FrmTamlo() = default;

void FrmTamlo::Form_Load() {
    random_.SeedFromClock();
    engine_.NewGame();
}

void FrmTamlo::focusInEvent(QFocusEvent* event) {
    // The keyboard stays with the window; a screen reader follows the display.
    AccessibleControl::ReportFocus(*txtDisplay_);
    QWidget::focusInEvent(event);
}

void FrmTamlo::keyPressEvent(QKeyEvent* event) {
    // Every key is the game's: the event stays accepted, as it arrives.
    Form_KeyDown(VirtualKeyCode(*event));
}

void FrmTamlo::Form_KeyDown(int keyCode) {
    if (GameKeys::KeyDown(engine_, keyCode)) {
        close();
    }
}

void FrmTamlo::mousePressEvent(QMouseEvent* /*event*/) {
    Form_MouseDown();
}

void FrmTamlo::Form_MouseDown() {}

bool FrmTamlo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtAbout_ && event->type() == QEvent::MouseButtonPress) {
        txtAbout_MouseDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmTamlo::txtAbout_MouseDown() {
    mnuAbout_Click();
}

void FrmTamlo::mnuAbout_Click() {
    // A fresh, modal About window each time; the game's timers tick on behind it.
    frmAbout::ShowModal(this);
}

void FrmTamlo::SetDisplayText(std::string_view text) {
    const QString line = FromView(text);
    if (line == txtDisplay_->text()) {
        return;
    }
    txtDisplay_->setText(line);
    // Spoken as it changes while the player is at the window; a screen reader catches up with
    // the latest line when the march is faster than speech.
    if (isActiveWindow()) {
        AccessibleControl::Announce(*txtDisplay_, line);
    }
}

void FrmTamlo::SetCaption(StatusLabel label, std::string_view text) {
    auto& target = QtForm::Get<QLabel>(*this, kDesign, ControlName(label));
    const QString caption = FromView(text);
    if (caption == target.text()) {
        return;
    }
    target.setText(caption);
    QtForm::FitToText(target);
    // A hit or a miss is heard through its counter; a message also while About is open.
    if (!caption.isEmpty() && isVisible()) {
        AccessibleControl::Announce(target, caption);
    }
}

void FrmTamlo::SetTimerEnabled(GameTimer timer, bool enabled) {
    IntervalTimer* target = timer == GameTimer::TimerLevel ? TimerLevel_ : TimerWait_;
    if (!enabled) {
        target->stop();
    } else if (!target->isActive()) {
        target->start();
    }
}

std::int32_t FrmTamlo::MarchInterval() const {
    return TimerLevel_->interval();
}

void FrmTamlo::SetMarchInterval(std::int32_t milliseconds) {
    TimerLevel_->setInterval(milliseconds);
}

} // namespace tamlo
