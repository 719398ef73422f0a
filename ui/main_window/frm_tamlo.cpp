#include "ui/main_window/frm_tamlo.h"

#include "resources/icons.h"
#include "ui/about/frm_about.h"
#include "ui/main_window/virtual_key.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

namespace tamlo {
namespace {

constexpr int kClientWidth = 260;
constexpr int kClientHeight = 332;
constexpr int kPauseInterval = 2000;
constexpr int kFontWeightBold = 700;

// Sizes in pixels at 96 dpi, so that text and layout scale together on dense screens.
QFont MakeFont(const char* family, int pixelSize, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? static_cast<QFont::Weight>(kFontWeightBold) : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

template <typename T> T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    if constexpr (std::is_base_of_v<QWidget, T>) {
        object->setAccessibleName(QString::fromLatin1(name));
    }
    return object;
}

QString FromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsAutoSize(const QLabel* label) {
    return !label->wordWrap();
}

} // namespace

FrmTamlo::FrmTamlo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      TimerWait_(Named(new QTimer(this), "TimerWait")),
      TimerLevel_(Named(new QTimer(this), "TimerLevel")),
      txtDisplay_(Named(new QLineEdit(this), "txtDisplay")),
      txtAbout_(Named(new QLabel(this), "txtAbout")),
      txtMessage_(Named(new QLabel(this), "txtMessage")),
      txtLevel_(Named(new QLabel(this), "txtLevel")),
      txtScore_(Named(new QLabel(this), "txtScore")), Label4_(Named(new QLabel(this), "Label4")),
      txtNoLand_(Named(new QLabel(this), "txtNoLand")),
      txtMissFire_(Named(new QLabel(this), "txtMissFire")),
      Label3_(Named(new QLabel(this), "Label3")), Label2_(Named(new QLabel(this), "Label2")),
      Label1_(Named(new QLabel(this), "Label1")), mnuPopMenu_(Named(new QMenu(this), "mnuPopMenu")),
      mnuAbout_(Named(new QAction(this), "mnuAbout")), engine_(*this, random_) {
    setObjectName(QStringLiteral("FrmTamlo"));
    setAccessibleName(QStringLiteral("FrmTamlo"));
    setWindowTitle(QStringLiteral("Tamlo QT-350 Simulator"));
    setWindowIcon(QIcon(Icons::Program()));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(MakeFont("MS Sans Serif", 11, false));
    setFocusPolicy(Qt::StrongFocus);
    setContextMenuPolicy(Qt::PreventContextMenu);

    // Interval timers: precise, because at the fastest levels the march ticks every 2 ms.
    TimerWait_->setTimerType(Qt::PreciseTimer);
    TimerWait_->setInterval(kPauseInterval);
    TimerLevel_->setTimerType(Qt::PreciseTimer);
    TimerLevel_->setInterval(GameEngine::kStartInterval);
    TimerLevel_->start();
    connect(TimerLevel_, &QTimer::timeout, this, [this] { engine_.TimerLevel_Timer(); });
    connect(TimerWait_, &QTimer::timeout, this, [this] { engine_.TimerWait_Timer(); });

    // The display takes no focus and no input: every key goes to the window.
    txtDisplay_->setGeometry(64, 80, 137, 33);
    txtDisplay_->setFont(MakeFont("Courier New", 27, true));
    txtDisplay_->setText(QStringLiteral("txtDisplay"));
    txtDisplay_->setEnabled(false);
    txtDisplay_->setFocusPolicy(Qt::NoFocus);
    txtDisplay_->setContextMenuPolicy(Qt::NoContextMenu);
    // Eight characters of the display font need 130 px; the frame and the line edit's own margins
    // leave 129, so the text margins give back one pixel on each side.
    txtDisplay_->setTextMargins(-1, 0, -1, 0);

    const auto label = [](QLabel* target, QPoint position, QSize size, const char* text,
                          QFont font) {
        target->setText(QString::fromLatin1(text));
        target->setAccessibleDescription(target->text());
        target->setFont(font);
        target->setGeometry(QRect(position, size));
        target->setFocusPolicy(Qt::NoFocus);
        target->setContextMenuPolicy(Qt::NoContextMenu);
        target->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (IsAutoSize(target)) {
            target->adjustSize();
        }
    };
    const QFont legend = MakeFont("MS Sans Serif", 13, true);
    label(txtAbout_, {200, 280}, {41, 16}, "About", legend);
    QPalette blue = txtAbout_->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    txtAbout_->setPalette(blue);
    txtAbout_->installEventFilter(this);

    txtMessage_->setWordWrap(true);
    label(txtMessage_, {8, 168}, {249, 25}, "Game Over !", MakeFont("MS Sans Serif", 18, true));
    txtMessage_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette red = txtMessage_->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    txtMessage_->setPalette(red);

    txtLevel_->setWordWrap(true);
    label(txtLevel_, {68, 40}, {92, 20}, "Level : 1", MakeFont("MS Sans Serif", 16, true));
    label(txtScore_, {64, 16}, {123, 20}, "Score : 000000", MakeFont("MS Sans Serif", 16, true));
    label(Label4_, {64, 248}, {75, 16}, "R - Restart", legend);
    label(txtNoLand_, {64, 144}, {39, 13}, "Land : 0", font());
    label(txtMissFire_, {64, 128}, {56, 13}, "Miss Fire : 0", font());
    label(Label3_, {64, 280}, {64, 16}, "Esc : Exit", legend);
    label(Label2_, {64, 232}, {122, 16}, "Down Arrow - Fire", legend);
    label(Label1_, {64, 216}, {108, 16}, "Left Arrow - Aim", legend);

    // The About command's home: a menu that is never shown.
    mnuPopMenu_->setTitle(QStringLiteral("PopMenu"));
    mnuAbout_->setText(QStringLiteral("About"));
    mnuPopMenu_->addAction(mnuAbout_);
    connect(mnuAbout_, &QAction::triggered, this, &FrmTamlo::mnuAbout_Click);

    Form_Load();
    CentreOnScreen();
    setFocus();
}

FrmTamlo::~FrmTamlo() = default;

void FrmTamlo::Form_Load() {
    random_.SeedFromClock();
    engine_.NewGame();
}

void FrmTamlo::CentreOnScreen() {
    const QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (target == nullptr) {
        return;
    }
    QRect frame = geometry();
    frame.moveCenter(target->availableGeometry().center());
    move(frame.topLeft());
}

void FrmTamlo::keyPressEvent(QKeyEvent* event) {
    Form_KeyDown(VirtualKeyCode(*event));
    event->accept();
}

void FrmTamlo::Form_KeyDown(int keyCode) {
    switch (keyCode) {
    case VK_Left:
        if (!engine_.State().Waiting) {
            engine_.MoveAim();
        }
        break;
    case VK_Down:
        if (!engine_.State().Waiting) {
            engine_.Fire();
        }
        break;
    case VK_R:
        engine_.NewGame();
        break;
    case VK_Escape:
        close();
        break;
    default:
        break;
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
    // The name tells a screen reader which label it is; the description carries what it says.
    target->setAccessibleDescription(target->text());
    // Auto-size labels take the size of their text, keeping their top-left corner.
    if (IsAutoSize(target)) {
        target->adjustSize();
    }
}

void FrmTamlo::SetTimerEnabled(GameTimer timer, bool enabled) {
    QTimer* target = timer == GameTimer::TimerLevel ? TimerLevel_ : TimerWait_;
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
