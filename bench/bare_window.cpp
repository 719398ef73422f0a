// The yardstick for start-up, memory, idle cost and key response: a bare Qt window of the game's
// size with a dozen labels and a disabled line edit in the display's place.
//
//   bare_window [--faces] [--timer-ms N]
//
// --faces gives the labels and the line edit the game's three faces at the game's sizes, named
// by their installed families, so that only what the game adds to them is left to compare.
// --timer-ms N rewrites the line edit every N ms with a precise timer, and the Left key rewrites
// it too, as the game's aim does its display.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace {

QFont Face(const char* family, int pixels, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

class BareWindow final : public QWidget {
public:
    explicit BareWindow(bool faces) {
        setWindowTitle(QStringLiteral("Bare window"));
        setFixedSize(260, 332);
        if (faces) {
            setFont(Face("Liberation Sans", 11, false));
        }
        edit_ = new QLineEdit(QStringLiteral("1-      "), this);
        edit_->setGeometry(64, 80, 137, 33);
        edit_->setEnabled(false);
        if (faces) {
            edit_->setFont(Face("Liberation Mono", 27, true));
        }
        for (int i = 0; i < 12; ++i) {
            auto* label = new QLabel(QStringLiteral("Label %1 : 000000").arg(i), this);
            label->move(8, 120 + i * 17);
            if (faces && i < 8) { // the game's message, status and legend sizes
                label->setFont(Face("Liberation Sans", i == 0 ? 18 : i < 3 ? 16 : 13, true));
            }
            label->adjustSize();
        }
        setFocusPolicy(Qt::StrongFocus);
    }

    void Rewrite() {
        ++ticks_;
        edit_->setText(QStringLiteral("%1-   %2").arg(ticks_ % 10).arg(ticks_ % 100));
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Left) {
            Rewrite();
        }
        event->accept();
    }

private:
    QLineEdit* edit_ = nullptr;
    int ticks_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int timerMs = 0;
    const QStringList args = QApplication::arguments();
    const auto timerArg = args.indexOf(QStringLiteral("--timer-ms"));
    if (timerArg >= 0 && timerArg + 1 < args.size()) {
        timerMs = args.at(timerArg + 1).toInt();
    }

    BareWindow window(args.contains(QStringLiteral("--faces")));
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &window, [&window] { window.Rewrite(); });
    if (timerMs > 0) {
        timer.start(timerMs);
    }
    window.show();
    return QApplication::exec();
}
