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
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

namespace tamlo {
namespace {

const FormSpec& kDesign = kFrmTamloDesign;

IntervalTimer* MakeTimer(QObject* owner, const char* name) {
    const ControlSpec& design = kDesign.Control(name);
    // At the fastest levels the march ticks every 2 ms.
    auto* timer = new IntervalTimer(owner);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(design.interval);
    if (design.enabled) {
        timer->start();
    }
    return timer;
}

QString FromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

FrmTamlo::FrmTamlo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      engine_(*this, random_) {
    QtForm::SetUpWindow(*this, kDesign);
    // The controls in their creation order.
    TimerWait_ = MakeTimer(this, "TimerWait");
    TimerLevel_ = MakeTimer(this, "TimerLevel");
    txtDisplay_ = new QLineEdit(this);
    txtAbout_ = MakeLabel("txtAbout");
    txtMessage_ = MakeLabel("txtMessage");
    txtLevel_ = MakeLabel("txtLevel");
    txtScore_ = MakeLabel("txtScore");
    Label4_ = MakeLabel("Label4");
    txtNoLand_ = MakeLabel("txtNoLand");
    txtMissFire_ = MakeLabel("txtMissFire");
    Label3_ = MakeLabel("Label3");
    Label2_ = MakeLabel("Label2");
    Label1_ = MakeLabel("Label1");
    mnuPopMenu_ = new QMenu(this);
    mnuAbout_ = new QAction(this);

    setWindowIcon(QIcon(Icons::Program()));
    setFocusPolicy(Qt::StrongFocus);
    connect(TimerLevel_, &IntervalTimer::timeout, this, [this] { engine_.TimerLevel_Timer(); });
    connect(TimerWait_, &IntervalTimer::timeout, this, [this] { engine_.TimerWait_Timer(); });

    // Disabled, the display takes no focus and no input: every key goes to the window.
    const ControlSpec& display = kDesign.Control("txtDisplay");
    txtDisplay_->setObjectName(QString::fromLatin1(display.name));
    txtDisplay_->setGeometry(QtForm::Geometry(display));
    txtDisplay_->setFont(QtForm::Font(display.font, font()));
    txtDisplay_->setText(QString::fromLatin1(display.text));
    txtDisplay_->setEnabled(display.enabled);
    // Eight characters of the display font need 130 px; the frame and the line edit's own margins
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
    AccessibleControl::Attach(*txtMessage_, QAccessible::Notification);
    AccessibleControl::Attach(*txtAbout_, QAccessible::Link, [this] { txtAbout_MouseDown(); });

    // The About command's home: a menu that is never shown.
    mnuPopMenu_->setObjectName(QString::fromLatin1(kDesign.Control("mnuPopMenu").name));
    mnuPopMenu_->setTitle(QString::fromLatin1(kDesign.Control("mnuPopMenu").text));
    mnuAbout_->setObjectName(QString::fromLatin1(kDesign.Control("mnuAbout").name));
    mnuAbout_->setText(QString::fromLatin1(kDesign.Control("mnuAbout").text));
    mnuPopMenu_->addAction(mnuAbout_);
    connect(mnuAbout_, &QAction::triggered, this, &FrmTamlo::mnuAbout_Click);

    Form_Load();
    FramePlacement::CentreOn(*this, [this] { return screen()->availableGeometry(); });
    setFocus();
}

FrmTamlo::~FrmTamlo() = default;

QLabel* FrmTamlo::MakeLabel(const char* name) {
    return QtForm::MakeLabel(*this, kDesign.Control(name));
}

void FrmTamlo::Form_Load() {
    random_.SeedFromClock();
    engine_.NewGame();
}

void FrmTamlo::keyPressEvent(QKeyEvent* event) {
    Form_KeyDown(VirtualKeyCode(*event));
    event->accept();
}

void FrmTamlo::Form_KeyDown(int keyCode) {
    if (GameKeys::KeyDown(engine_, keyCode)) {
        close();
    }
}

void FrmTamlo::mousePressEvent(QMouseEvent* event) {
    Form_MouseDown();
    event->accept();
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
    txtDisplay_->setText(FromView(text));
}

QLabel* FrmTamlo::Label(StatusLabel label) const {
    switch (label) {
    case StatusLabel::txtLevel:
        return txtLevel_;
    case StatusLabel::txtScore:
        return txtScore_;
    case StatusLabel::txtNoLand:
        return txtNoLand_;
    case StatusLabel::txtMissFire:
        return txtMissFire_;
    case StatusLabel::txtMessage:
        break;
    }
    return txtMessage_;
}

void FrmTamlo::SetCaption(StatusLabel label, std::string_view text) {
    QLabel* target = Label(label);
    target->setText(FromView(text));
    QtForm::FitToText(*target);
    if (target == txtMessage_ && !text.empty()) {
        AccessibleControl::Announce(*target);
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
