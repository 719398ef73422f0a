#include "ui/about/qt/frm_about.h"

#include "resources/icons.h"
#include "ui/about/core/app_info.h"
#include "ui/about/core/frm_about_design.h"
#include "ui/about/core/sys_info_launcher.h"
#include "ui/about/qt/line_shape.h"
#include "ui/about/qt/qt_launcher_platform.h"
#include "ui/common/qt/frame_placement.h"
#include "ui/common/qt/qt_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace tamlo {
namespace {

const FormSpec& kDesign = kFrmAboutDesign;

QPushButton* MakeButton(QWidget& window, const char* name) {
    const ControlSpec& design = kDesign.Control(name);
    auto* button = new QPushButton(QString::fromLatin1(design.text), &window);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(QtForm::Geometry(design));
    return button;
}

LineShape* MakeLine(QWidget& window, int index) {
    const ControlSpec& design = kDesign.Control("Line1", index);
    auto* line = new LineShape(QtForm::Colour(design.colour), design.lineWidth, &window);
    line->setObjectName(QStringLiteral("Line1_%1").arg(index));
    // An etched groove: the grey line, then the white one a pixel below it.
    const QRect ends = QtForm::Geometry(design);
    line->setGeometry(ends.left(), ends.top() + (index == 0 ? 1 : 0), ends.width() + 1,
                      design.lineWidth);
    return line;
}

} // namespace

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    QtForm::SetUpWindow(*this, kDesign);
    setWindowIcon(QIcon(Icons::About()));
    setModal(true);

    // The controls in their creation order.
    picIcon_ = new QLabel(this);
    cmdOK_ = MakeButton(*this, "cmdOK");
    cmdSysInfo_ = MakeButton(*this, "cmdSysInfo");
    Label1_ = QtForm::MakeLabel(*this, kDesign.Control("Label1"));
    lblDescription_ = QtForm::MakeLabel(*this, kDesign.Control("lblDescription"));
    lblTitle_ = QtForm::MakeLabel(*this, kDesign.Control("lblTitle"));
    Line1_1_ = MakeLine(*this, 1);
    Line1_0_ = MakeLine(*this, 0);
    lblVersion_ = QtForm::MakeLabel(*this, kDesign.Control("lblVersion"));
    lblDisclaimer_ = QtForm::MakeLabel(*this, kDesign.Control("lblDisclaimer"));

    // The program icon in a sunken box that fits it exactly.
    const ControlSpec& picture = kDesign.Control("picIcon");
    const QPixmap icon = Icons::Program();
    picIcon_->setObjectName(QString::fromLatin1(picture.name));
    picIcon_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon_->setLineWidth(picture.lineWidth);
    picIcon_->setPixmap(icon);
    const int border = 2 * picture.lineWidth;
    picIcon_->setGeometry(
        QRect(QtForm::Geometry(picture).topLeft(), icon.size() + QSize(border, border)));
    picIcon_->setAccessibleName(QStringLiteral("Program icon"));

    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo_, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    // The copyright line is slightly wider than its box in the dialog font: a condensed cut fits.
    QFont condensed = font();
    condensed.setStretch(85);
    lblDescription_->setFont(condensed);
    Line1_1_->raise();

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
    about.exec();
}

void frmAbout::Form_Load() {
    lblVersion_->setText(QString::fromStdString(AppInfo::VersionText()));
    lblTitle_->setText(QString::fromLatin1(AppInfo::Title));
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
