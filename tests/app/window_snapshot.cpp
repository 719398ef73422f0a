// Grabs an X11 window into a PNG and, given a reference image, compares the two.
//
//   window_snapshot <window-id> <out.png> [<reference.png> <diff.png>]
//
// Exit status 0: grabbed (and equal to the reference within the tolerance); 1: different, with
// the differing pixels painted red in <diff.png>; 2: usage or grab error.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// A pixel differs when a colour channel moves by more than this; a few such pixels are noise.
constexpr int kChannelTolerance = 32;
constexpr int kDifferingPixelsAllowed = 10;

int Compare(const QImage& actual, const QImage& reference, const QString& diffPath) {
    if (actual.size() != reference.size()) {
        std::fprintf(stderr, "size %dx%d, reference %dx%d\n", actual.width(), actual.height(),
                     reference.width(), reference.height());
        return 1;
    }
    QImage diff = reference.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb r = reference.pixel(x, y);
            const int delta =
                std::max({std::abs(qRed(a) - qRed(r)), std::abs(qGreen(a) - qGreen(r)),
                          std::abs(qBlue(a) - qBlue(r))});
            if (delta > kChannelTolerance) {
                ++differing;
                diff.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    if (differing > kDifferingPixelsAllowed) {
        diff.save(diffPath);
        std::fprintf(stderr, "%d pixels differ from the reference; see %s\n", differing,
                     qPrintable(diffPath));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3 && args.size() != 5) {
        std::fprintf(stderr,
                     "usage: window_snapshot <window-id> <out.png> [<reference.png> <diff.png>]\n");
        return 2;
    }
    bool ok = false;
    const WId window = args.at(1).toULongLong(&ok, 0);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!ok || screen == nullptr) {
        return 2;
    }
    const QImage actual =
        screen->grabWindow(window).toImage().convertToFormat(QImage::Format_RGB32);
    if (actual.isNull() || !actual.save(args.at(2))) {
        std::fprintf(stderr, "cannot grab window %s\n", qPrintable(args.at(1)));
        return 2;
    }
    if (args.size() == 3) {
        return 0;
    }
    QImage reference(args.at(3));
    if (reference.isNull()) {
        std::fprintf(stderr, "cannot read reference %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return Compare(actual, reference.convertToFormat(QImage::Format_RGB32), args.at(4));
}
