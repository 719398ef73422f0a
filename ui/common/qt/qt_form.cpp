#include "ui/common/qt/qt_form.h"

#include "ui/common/qt/accessible_text_box.h"
#include "ui/common/qt/interval_timer.h"
#include "ui/common/qt/line_shape.h"

#include <QAction>
#include <QFontDatabase>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace tamlo {
namespace {

constexpr int kBoldWeight = 700;
// The grey of the toolkit's standard light scheme, the ground the design's colours were chosen on.
constexpr std::uint32_t kStandardGrey = 0x00EFEFEF;

// The family a design's face name stands for on this system: the name itself where it is
// installed, else the first installed of its substitutes (QFont::substitutes). Resolved once for
// each name, so that a font never looks up a family that is not there before its substitutes.
QString InstalledFamily(const char* family) {
    static QHash<QByteArray, QString> resolved;
    const QByteArray key(family);
    const auto known = resolved.constFind(key);
    if (known != resolved.constEnd()) {
        return *known;
    }
    const QString name = QString::fromLatin1(family);
    const QStringList installed = QFontDatabase::families();
    QString result = name;
    if (!installed.contains(name, Qt::CaseInsensitive)) {
        for (const QString& substitute : QFont::substitutes(name)) {
            if (installed.contains(substitute, Qt::CaseInsensitive)) {
                result = substitute;
                break;
            }
        }
    }
    resolved.insert(key, result);
    return result;
}

// At the fastest levels the march ticks every 2 ms.
IntervalTimer* MakeTimer(QWidget& window, const ControlDesign& control) {
    auto* timer = new IntervalTimer(&window);
    timer->setInterval(control.interval);
    if (control.enabled) {
        timer->start();
    }
    return timer;
}

QLineEdit* MakeTextBox(QWidget& window, const ControlDesign& control) {
    auto* box = new QLineEdit(&window);
    box->setGeometry(QtForm::Geometry(control));
    box->setFont(QtForm::Font(control.font, window.font()));
    box->setText(QString::fromLatin1(control.text));
    box->setEnabled(control.enabled);
    // A disabled box can neither take the keyboard focus nor be written in, and says so.
    if (!control.enabled) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        AccessibleTextBox::Attach(*box);
    }
    return box;
}

// Like every plain label of the toolkit, it never takes the focus and offers no context menu.
QLabel* MakeLabel(QWidget& window, const ControlDesign& control) {
    auto* label = new QLabel(&window);
    label->setText(QString::fromLatin1(control.text));
    label->setFont(QtForm::Font(control.font, window.font()));
    label->setGeometry(QtForm::Geometry(control));
    label->setWordWrap(control.sizing != Sizing::AutoSize);
    label->setAlignment((control.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    if (control.colour != kDefaultColour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QtForm::Colour(control.colour));
        label->setPalette(palette);
    }
    if (control.sizing == Sizing::WrapHeight) {
        label->setFixedHeight(label->heightForWidth(label->width()));
    }
    QtForm::FitToText(*label);
    return label;
}

QPushButton* MakeButton(QWidget& window, const ControlDesign& control) {
    auto* button = new QPushButton(QString::fromLatin1(control.text), &window);
    button->setGeometry(QtForm::Geometry(control));
    button->setDefault(control.isDefault);
    return button;
}

// The window gives it its picture; the design gives it the size that fits it.
QLabel* MakePictureBox(QWidget& window, const ControlDesign& control) {
    auto* picture = new QLabel(&window);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setLineWidth(control.lineWidth);
    picture->setGeometry(QtForm::Geometry(control));
    return picture;
}

// Both ends are on the line.
LineShape* MakeLine(QWidget& window, const ControlDesign& control) {
    auto* line = new LineShape(QtForm::Colour(control.colour), control.lineWidth, &window);
    const QRect ends = QtForm::Geometry(control);
    line->setGeometry(ends.left(), ends.top(), ends.width() + 1, control.lineWidth);
    return line;
}

} // namespace

void QtForm::Build(QWidget& window, const WindowDesign& design) {
    window.setObjectName(QString::fromLatin1(design.name));
    window.setWindowTitle(QString::fromLatin1(design.caption));
    window.setFixedSize(TwipsToPixels(design.clientWidth), TwipsToPixels(design.clientHeight));
    window.setFont(Font(design.font, window.font()));
    // On a dark desktop palette the texts whose colours the design fixes (black, blue, red) could
    // not be read: there the window and everything on it keep a light scheme, which the toolkit
    // works out from the standard grey; a disabled box shows that grey, as in the standard scheme.
    // A light desktop palette is kept as it is.
    const QPalette desktop = window.palette();
    if (desktop.color(QPalette::Window).lightness() <
        desktop.color(QPalette::WindowText).lightness()) {
        const QColor grey = Colour(kStandardGrey);
        QPalette light(grey, grey);
        light.setColor(QPalette::Disabled, QPalette::Base, grey);
        window.setPalette(light);
    }
    QObject* menu = nullptr;
    for (const ControlDesign& control : design.controls) {
        QObject* made = Make(window, control, menu);
        made->setObjectName(ObjectName(control));
        menu = control.kind == ControlKind::Menu ? made : menu;
    }
    MakeTabOrder(window, design);
}

QObject* QtForm::Make(QWidget& window, const ControlDesign& control, QObject* menu) {
    switch (control.kind) {
    case ControlKind::Timer:
        return MakeTimer(window, control);
    case ControlKind::TextBox:
        return MakeTextBox(window, control);
    case ControlKind::Label:
        break;
    case ControlKind::Button:
        return MakeButton(window, control);
    case ControlKind::PictureBox:
        return MakePictureBox(window, control);
    case ControlKind::Line:
        return MakeLine(window, control);
    case ControlKind::Menu: {
        auto* made = new QMenu(&window);
        made->setTitle(QString::fromLatin1(control.text));
        return made;
    }
    case ControlKind::MenuItem: {
        // An item belongs to the menu above it in the table.
        auto* item = new QAction(QString::fromLatin1(control.text), &window);
        qobject_cast<QMenu*>(menu)->addAction(item);
        return item;
    }
    }
    return MakeLabel(window, control);
}

void QtForm::MakeTabOrder(const QWidget& window, const WindowDesign& design) {
    std::vector<const ControlDesign*> order;
    for (const ControlDesign& control : design.controls) {
        if (control.tabIndex >= 0) {
            order.push_back(&control);
        }
    }
    std::ranges::sort(order, {}, &ControlDesign::tabIndex);
    QWidget* previous = nullptr;
    for (const ControlDesign* control : order) {
        auto* widget = window.findChild<QWidget*>(ObjectName(*control));
        if ((widget->focusPolicy() & Qt::TabFocus) == 0) {
            continue; // labels and pictures are passed over
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

QRect QtForm::Geometry(const ControlDesign& control) {
    return {TwipsToPixels(control.left), TwipsToPixels(control.top), TwipsToPixels(control.width),
            TwipsToPixels(control.height)};
}

QFont QtForm::Font(const FontDesign& font, const QFont& windowFont) {
    if (font.family == nullptr) {
        return windowFont;
    }
    QFont made(InstalledFamily(font.family));
    made.setPixelSize(CentipointsToPixels(font.centipoints));
    made.setWeight(font.bold ? static_cast<QFont::Weight>(kBoldWeight) : QFont::Normal);
    return made;
}

QColor QtForm::Colour(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>(bgr >> 8 & 0xFF),
                  static_cast<int>(bgr >> 16 & 0xFF));
}

QString QtForm::ObjectName(const ControlDesign& control) {
    const QString name = QString::fromLatin1(control.name);
    return control.arrayIndex < 0 ? name
                                  : name + QLatin1Char('_') + QString::number(control.arrayIndex);
}

void QtForm::FitToText(QLabel& label) {
    if (!label.wordWrap()) {
        label.adjustSize();
    }
}

} // namespace tamlo
