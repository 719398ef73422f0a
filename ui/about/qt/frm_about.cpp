#include "ui/about/qt/frm_about.h"

#include "resources/icons.h"
#include "ui/about/core/app_info.h"
#include "ui/about/core/frm_about_design.h"
#include "ui/about/core/sys_info_launcher.h"
#include "ui/about/qt/qt_launcher_platform.h"
#include "ui/common/qt/accessible_control.h"
#include "ui/common/qt/frame_placement.h"
#include "ui/common/qt/qt_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace tamlo {
namespace {

const WindowDesign& kDesign = kFrmAboutDesign;

} // namespace

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    QtForm::Build(*this, kDesign);
    setWindowIcon(QIcon(Icons::About()));

    // The program icon in its sunken box, which the design sizes to fit it exactly.
    auto& picIcon = QtForm::Get<QLabel>(*this, kDesign, "picIcon");
    picIcon.setPixmap(Icons::Program());
    picIcon.setAccessibleName(QStringLiteral("Program icon"));

    cmdOK_ = &QtForm::Get<QPushButton>(*this, kDesign, "cmdOK");
    connect(cmdOK_, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(&QtForm::Get<QPushButton>(*this, kDesign, "cmdSysInfo"), &QPushButton::clicked, this,
            &frmAbout::cmdSysInfo_Click);
    // An etched groove: the white line a pixel below the grey one.
    auto& white = QtForm::Get<QWidget>(*this, kDesign, "Line1", 0);
    white.move(white.pos() + QPoint(0, 1));

    Form_Load();
    if (owner != nullptr) {
        // Centred over the game window; until the window manager has framed this window, its
        // frame is taken to be like the game window's.
        QWidget& game = *owner->window();
        FramePlacement::CentreOn(
            *this, [&game] { return FramePlacement::Outline(game); }, FramePlacement::Frame(game));
    }
}

frmAbout::~frmAbout() = default;

void frmAbout::ShowModal(QWidget* owner) {
    frmAbout about(owner);
    about.exec(); // application-modal while it runs
}

void frmAbout::Form_Load() {
    QtForm::Get<QLabel>(*this, kDesign, "lblVersion")
        .setText(QString::fromStdString(AppInfo::VersionText()));
    QtForm::Get<QLabel>(*this, kDesign, "lblTitle").setText(QString::fromLatin1(AppInfo::Title));
    // A screen reader opening the window speaks its title and its description: the texts from
    // top to bottom, the title a heading, the others paragraphs.
    QStringList texts;
    for (const char* name :
         {"lblTitle", "lblVersion", "lblDescription", "Label1", "lblDisclaimer"}) {
        auto& label = QtForm::Get<QLabel>(*this, kDesign, name);
        AccessibleControl::Attach(label,
                                  texts.isEmpty() ? QAccessible::Heading : QAccessible::Paragraph);
        texts.append(label.text());
    }
    setAccessibleDescription(texts.join(QLatin1Char('\n')));
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
    // The store is read inside the launcher, so a store that cannot be read ends in its message.
    QtLauncherPlatform platform(this);
    SysInfoLauncher(platform).StartSysInfo();
}

} // namespace tamlo
