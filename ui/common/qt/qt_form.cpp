#include "ui/common/qt/qt_form.h"

#include <QLabel>
#include <QWidget>

namespace tamlo {
namespace {

constexpr int kBoldWeight = 700;
// The grey of the toolkit's standard light scheme, the ground the design's colours were chosen on.
constexpr std::uint32_t kStandardGrey = 0x00EFEFEF;

} // namespace

QRect QtForm::Geometry(const ControlSpec& control) {
    return {TwipsToPixels(control.left), TwipsToPixels(control.top), TwipsToPixels(control.width),
            TwipsToPixels(control.height)};
}

QFont QtForm::Font(const FontSpec& spec, const QFont& windowFont) {
    if (spec.family == nullptr) {
        return windowFont;
    }
    QFont font(QString::fromLatin1(spec.family));
    font.setPixelSize(CentipointsToPixels(spec.centipoints));
    font.setWeight(spec.bold ? static_cast<QFont::Weight>(kBoldWeight) : QFont::Normal);
    return font;
}

QColor QtForm::Colour(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>(bgr >> 8 & 0xFF),
                  static_cast<int>(bgr >> 16 & 0xFF));
}

void QtForm::SetUpWindow(QWidget& window, const FormSpec& form) {
    window.setObjectName(QString::fromLatin1(form.name));
    window.setWindowTitle(QString::fromLatin1(form.caption));
    window.setFixedSize(TwipsToPixels(form.clientWidth), TwipsToPixels(form.clientHeight));
    window.setFont(Font(form.font, window.font()));
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
}

QLabel* QtForm::MakeLabel(QWidget& window, const ControlSpec& control) {
    auto* label = new QLabel(&window);
    label->setObjectName(QString::fromLatin1(control.name));
    label->setText(QString::fromLatin1(control.text));
    label->setFont(Font(control.font, window.font()));
    label->setGeometry(Geometry(control));
    label->setWordWrap(control.sizing != Sizing::AutoSize);
    label->setAlignment((control.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    if (control.colour != kDefaultColour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Colour(control.colour));
        label->setPalette(palette);
    }
    if (control.sizing == Sizing::WrapHeight) {
        label->setFixedHeight(label->heightForWidth(label->width()));
    }
    FitToText(*label);
    return label;
}

void QtForm::FitToText(QLabel& label) {
    if (!label.wordWrap()) {
        label.adjustSize();
    }
}

} // namespace tamlo
