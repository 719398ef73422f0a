#include "ui/common/qt/qt_form.h"

#include <QFontDatabase>
#include <QHash>
#include <QLabel>
#include <QWidget>

namespace tamlo {
namespace {

constexpr int kBoldWeight = 700;

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

} // namespace

QRect QtForm::Geometry(const ControlSpec& control) {
    return {TwipsToPixels(control.left), TwipsToPixels(control.top), TwipsToPixels(control.width),
            TwipsToPixels(control.height)};
}

QFont QtForm::Font(const FontSpec& spec, const QFont& windowFont) {
    if (spec.family == nullptr) {
        return windowFont;
    }
    QFont font(InstalledFamily(spec.family));
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
