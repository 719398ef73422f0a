// The yardstick for start-up, memory and idle cost: a bare Qt window of the game's size with a
// dozen labels and, optionally, a timer that rewrites one of them.
//
//   bare_window [--timer-ms N]
#include <QApplication>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int timerMs = 0;
    const QStringList args = QApplication::arguments();
    const auto timerArg = args.indexOf(QStringLiteral("--timer-ms"));
    if (timerArg >= 0 && timerArg + 1 < args.size()) {
        timerMs = args.at(timerArg + 1).toInt();
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(260, 332);
    QLabel* first = nullptr;
    for (int i = 0; i < 12; ++i) {
        auto* label = new QLabel(QStringLiteral("Label %1 : 000000").arg(i), &window);
        label->move(8, 8 + i * 26);
        label->adjustSize();
        if (first == nullptr) {
            first = label;
        }
    }
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, first, [first, &ticks] {
        first->setText(QStringLiteral("Label 0 : %1").arg(++ticks, 6, 10, QLatin1Char('0')));
    });
    if (timerMs > 0) {
        timer.start(timerMs);
    }
    window.show();
    return QApplication::exec();
}
