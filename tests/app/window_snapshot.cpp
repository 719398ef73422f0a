// Grabs an X11 window as the X server shows it into a PNG or PPM file (by its extension) and
// compares it with a reference picture if one is given:
//   window_snapshot <window-id> <out> [<reference.png>]        (status 2: usage or grab error)
// or compares a part of a screenshot that a compositor took:
//   window_snapshot <screenshot.png>:<x>,<y>,<width>,<height> <out> [<reference.png>]
// Status 1 when they differ: <out>-diff.png shows the differing pixels in red. A channel that moves
// by more than 8 counts: the same program with the same fonts draws the same picture, and the
// white of a line on the grey window must show.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 3) {
        return 2;
    }
    const QStringList part = args.at(1).split(QLatin1Char(':'));
    const QStringList area = part.value(1).split(QLatin1Char(','));
    const QImage grab =
        (part.size() == 2 && area.size() == 4 ? QImage(part.at(0))
                                                    .copy(area.at(0).toInt(), area.at(1).toInt(),
                                                          area.at(2).toInt(), area.at(3).toInt())
                                              : QGuiApplication::primaryScreen()
                                                    ->grabWindow(args.at(1).toULongLong(nullptr, 0))
                                                    .toImage())
            .convertToFormat(QImage::Format_RGB32);
    if (!grab.save(args.at(2)) || args.size() < 4) {
        return grab.isNull() ? 2 : 0;
    }
    QImage diff = QImage(args.at(3)).convertToFormat(QImage::Format_RGB32);
    int differing = diff.size() == grab.size() ? 0 : grab.width() * grab.height();
    for (int y = 0; y < grab.height() && diff.size() == grab.size(); ++y) {
        for (int x = 0; x < grab.width(); ++x) {
            const QRgb a = grab.pixel(x, y), r = diff.pixel(x, y);
            if (std::max({std::abs(qRed(a) - qRed(r)), std::abs(qGreen(a) - qGreen(r)),
                          std::abs(qBlue(a) - qBlue(r))}) > 8) {
                ++differing;
                diff.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    if (differing > 0) {
        diff.save(args.at(2) + QStringLiteral("-diff.png"));
        std::fprintf(stderr, "%s differs from %s\n", qPrintable(args.at(2)),
                     qPrintable(args.at(3)));
    }
    return differing > 0 ? 1 : 0;
}
