#include "ui/about/frm_about.h"

#include "resources/icons.h"
#include "ui/about/app_info.h"
#include "ui/about/launcher_platform.h"
#include "ui/about/line_shape.h"
#include "ui/about/sys_info.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <string_view>

namespace tamlo {
namespace {

constexpr int kClientWidth = 341;
constexpr int kClientHeight = 227;

template <typename T> T* Named(T* widget, const char* name, const char* accessibleName = nullptr) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(
        QString::fromLatin1(accessibleName != nullptr ? accessibleName : name));
    return widget;
}

QLabel* MakeLabel(QLabel* label, QRect geometry, const QString& text, QColor colour) {
    label->setGeometry(geometry);
    label->setText(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    label->setAccessibleDescription(text);
    if (colour.isValid()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
    }
    return label;
}

void SetCaption(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleDescription(text);
}

} // namespace

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      picIcon_(Named(new QLabel(this), "picIcon")), cmdOK_(Named(new QPushButton(this), "cmdOK")),
      cmdSysInfo_(Named(new QPushButton(this), "cmdSysInfo")),
      Label1_(Named(new QLabel(this), "Label1")),
      lblDescription_(Named(new QLabel(this), "lblDescription")),
      lblTitle_(Named(new QLabel(this), "lblTitle")),
      Line1_1_(Named(new LineShape(QColor(0x80, 0x80, 0x80), 1, this), "Line1_1", "Line1")),
      Line1_0_(Named(new LineShape(QColor(0xFF, 0xFF, 0xFF), 2, this), "Line1_0", "Line1")),
      lblVersion_(Named(new QLabel(this), "lblVersion")),
      lblDisclaimer_(Named(new QLabel(this), "lblDisclaimer")) {
    setObjectName(QStringLiteral("frmAbout"));
    setAccessibleName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Tamlo QT-300 Simulator"));
    setWindowIcon(QIcon(Icons::About()));
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPixelSize(11);
    setFont(dialogFont);

    // The program icon in a sunken box that fits it exactly.
    const QPixmap icon = Icons::Program();
    picIcon_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon_->setLineWidth(2);
    picIcon_->setPixmap(icon);
    picIcon_->setGeometry(16, 16, icon.width() + 4, icon.height() + 4);
    picIcon_->setFocusPolicy(Qt::NoFocus);

    cmdOK_->setText(QStringLiteral("OK"));
    cmdOK_->setGeometry(251, 159, 82, 23);
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    cmdSysInfo_->setText(QStringLiteral("&System Info..."));
    cmdSysInfo_->setGeometry(252, 189, 81, 23);
    connect(cmdSysInfo_, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    MakeLabel(Label1_, {56, 104, 286, 26},
              QStringLiteral(
                  "Source code and bug reports: see the repository this copy of the program was "
                  "built from."),
              QColor(0, 0, 255));
    // The width stays; the height follows the wrapped text.
    Label1_->setFixedHeight(Label1_->heightForWidth(Label1_->width()));
    MakeLabel(lblDescription_, {72, 80, 249, 14},
              QStringLiteral("Copyright (c) 2026 the Tamlo QT-350 Simulator contributors"),
              QColor(0, 0, 0));
    // The copyright line is slightly wider than its box in the dialog font: a condensed cut fits.
    QFont condensed = dialogFont;
    condensed.setStretch(85);
    lblDescription_->setFont(condensed);
    MakeLabel(lblTitle_, {70, 16, 241, 32}, QStringLiteral("Application Title"), QColor(0, 0, 0));
    QFont titleFont(QStringLiteral("MS Sans Serif"));
    titleFont.setPixelSize(13);
    titleFont.setWeight(static_cast<QFont::Weight>(700));
    lblTitle_->setFont(titleFont);

    // An etched groove between the texts and the buttons: the grey line over the white one.
    Line1_1_->setGeometry(8, 144, 329, 1);
    Line1_0_->setGeometry(8, 145, 329, 2);
    Line1_1_->raise();

    MakeLabel(lblVersion_, {70, 52, 249, 15}, QStringLiteral("Version"), QColor());
    MakeLabel(lblDisclaimer_, {56, 160, 170, 39},
              QStringLiteral(
                  "This is free software: anyone may use, change and pass it on under the terms of "
                  "the MIT licence."),
              QColor(0, 0, 0));

    setTabOrder(cmdOK_, cmdSysInfo_);
    Form_Load();
    cmdOK_->setFocus();
}

frmAbout::~frmAbout() = default;

void frmAbout::ShowModal(QWidget* owner) {
    frmAbout about(owner);
    about.exec();
}

QString frmAbout::VersionText(std::uint16_t major, std::uint16_t minor, std::uint16_t revision) {
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

void frmAbout::Form_Load() {
    SetCaption(lblVersion_, VersionText(AppInfo::Major, AppInfo::Minor, AppInfo::Revision));
    SetCaption(lblTitle_, QString::fromLatin1(AppInfo::Title));
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // Esc presses OK, the cancel button; the close box closes without it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    StartSysInfoOver(this);
}

// The launcher's message box carries the application's title as its caption.
static_assert(std::string_view(AppInfo::Title) == std::string_view(kMessageCaption));

} // namespace tamlo
