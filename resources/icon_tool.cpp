// Build-time tool: turns the program icon's artwork (an XPM text file, edited by hand, which the
// program itself compiles in) into the image files of the Linux package. The Windows program's
// .ico files come from the same artwork through xpm_to_ico.py, which needs no Qt.
//
//   icon_tool program <artwork.xpm> <out-dir> <icon-name>
//       out-dir/tamlo.png        the program icon, 8-bit palette of 256 colours, no transparency
//       out-dir/hicolor/NxN/apps/<icon-name>.png   the desktop theme icons, square
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

int Fail(const char* what, const QString& path) {
    std::fprintf(stderr, "icon_tool: %s %s\n", what, qPrintable(path));
    return 1;
}

// The artwork's own colours, in a palette padded to the given size.
QImage Indexed(const QImage& artwork, int paletteSize) {
    QImage indexed =
        artwork.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    QList<QRgb> palette = indexed.colorTable();
    while (palette.size() < paletteSize) {
        palette.append(qRgb(0, 0, 0));
    }
    indexed.setColorTable(palette);
    return indexed;
}

// The artwork centred on a transparent square, scaled whole-pixel where it grows.
QImage ThemeIcon(const QImage& artwork, int size) {
    const int side = qMax(artwork.width(), artwork.height());
    QImage square(side, side, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    {
        QPainter painter(&square);
        painter.drawImage((side - artwork.width()) / 2, (side - artwork.height()) / 2, artwork);
    }
    const auto mode = size >= side ? Qt::FastTransformation : Qt::SmoothTransformation;
    return square.scaled(size, size, Qt::KeepAspectRatio, mode);
}

int Program(const QString& artworkPath, const QString& outDir, const QString& iconName) {
    const QImage artwork(artworkPath);
    if (artwork.isNull()) {
        return Fail("cannot read", artworkPath);
    }
    const QImage opaque = artwork.convertToFormat(QImage::Format_RGB32);
    QDir().mkpath(outDir);
    if (!Indexed(opaque, 256).save(outDir + QStringLiteral("/tamlo.png"))) {
        return Fail("cannot write", outDir + QStringLiteral("/tamlo.png"));
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(outDir).arg(size);
        QDir().mkpath(dir);
        const QString path = dir + QLatin1Char('/') + iconName + QStringLiteral(".png");
        if (!ThemeIcon(opaque, size).save(path)) {
            return Fail("cannot write", path);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 5 && args.at(1) == QLatin1String("program")) {
        return Program(args.at(2), args.at(3), args.at(4));
    }
    std::fprintf(stderr, "usage: icon_tool program <artwork.xpm> <out-dir> <icon-name>\n");
    return 2;
}
