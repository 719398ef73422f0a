// Without arguments prints where the design tables put each window's client area ("client") and
// controls (a member of a control array as <name>_<index>) in pixels at scale 1, for the desktop
// tests to click and measure there: rows of <window> <control> <left> <top> <width> <height>.
// Else grabs an X11 window as the X server shows it into a PNG or PPM file (by its extension) and
// compares it with a reference picture if one is given:
//   desktop_probe <window-id> <out> [<reference.png>]        (status 2: usage or grab error)
// or finds the reference picture anywhere in a screenshot that a compositor took (status 1 if
// it is nowhere) and saves the part where it is found, or saves a part of the screenshot:
//   desktop_probe <screenshot.png> <out> <reference.png>
//   desktop_probe <screenshot.png>:<x>,<y>,<width>,<height> <out>
// Status 1 when they differ: <out>-diff.png shows the differing pixels in red. A channel that moves
// by more than 8 counts: the same program with the same fonts draws the same picture, and the
// white of a line on the grey window must show.
#include "ui/about/core/frm_about_design.h"
#include "ui/main_window/core/frm_tamlo_design.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

bool Near(QRgb a, QRgb b) { // a channel that moves by more than 8 counts
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))}) <= 8;
}

int PrintDesign() {
    using tamlo::TwipsToPixels;
    for (const tamlo::WindowDesign* window : {&tamlo::kFrmTamloDesign, &tamlo::kFrmAboutDesign}) {
        std::printf("%s client 0 0 %d %d\n", window->name, TwipsToPixels(window->clientWidth),
                    TwipsToPixels(window->clientHeight));
        for (const tamlo::ControlDesign& row : window->controls) {
            const std::string index =
                row.arrayIndex < 0 ? "" : "_" + std::to_string(row.arrayIndex);
            std::printf("%s %s%s %d %d %d %d\n", window->name, row.name, index.c_str(),
                        TwipsToPixels(row.left), TwipsToPixels(row.top), TwipsToPixels(row.width),
                        TwipsToPixels(row.height));
        }
    }
    return 0;
}

int Find(const QImage& screenshot, const QImage& reference, const QString& out) {
    const QImage shot = screenshot.convertToFormat(QImage::Format_RGB32);
    const QImage want = reference.convertToFormat(QImage::Format_RGB32);
    for (int top = 0; !want.isNull() && top + want.height() <= shot.height(); ++top) {
        for (int left = 0; left + want.width() <= shot.width(); ++left) {
            bool same = true;
            for (int y = 0; same && y < want.height(); ++y) {
                for (int x = 0; same && x < want.width(); ++x) {
                    same = Near(shot.pixel(left + x, top + y), want.pixel(x, y));
                }
            }
            if (same) {
                return shot.copy(left, top, want.width(), want.height()).save(out) ? 0 : 2;
            }
        }
    }
    std::fprintf(stderr, "the reference is nowhere in the screenshot %s\n",
                 qPrintable(out + QStringLiteral(".png")));
    shot.save(out + QStringLiteral(".png"));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return argc == 1 ? PrintDesign() : 2; // the design tables need no display
    }
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.at(1).endsWith(QStringLiteral(".png")) && args.size() == 4) {
        return Find(QImage(args.at(1)), QImage(args.at(3)), args.at(2));
    }
    const QStringList part = args.at(1).split(QLatin1Char(':'));
    if (const QStringList area = part.value(1).split(QLatin1Char(',')); area.size() == 4) {
        const QRect rect(area.at(0).toInt(), area.at(1).toInt(), area.at(2).toInt(),
                         area.at(3).toInt());
        return QImage(part.at(0)).copy(rect).save(args.at(2)) ? 0 : 2;
    }
    const QImage grab = QGuiApplication::primaryScreen()
                            ->grabWindow(args.at(1).toULongLong(nullptr, 0))
                            .toImage()
                            .convertToFormat(QImage::Format_RGB32);
    if (const bool saved = grab.save(args.at(2)); !saved || args.size() < 4) {
        return saved ? 0 : 2; // a grab that was not kept is compared with nothing
    }
    QImage diff = QImage(args.at(3)).convertToFormat(QImage::Format_RGB32);
    int differing = diff.size() == grab.size() ? 0 : grab.width() * grab.height();
    for (int y = 0; y < grab.height() && diff.size() == grab.size(); ++y) {
        for (int x = 0; x < grab.width(); ++x) {
            if (!Near(grab.pixel(x, y), diff.pixel(x, y))) {
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
