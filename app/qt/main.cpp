// Start-up: the game window is the program; closing it ends the run.
#include "ui/main_window/qt/font_substitutions.h"
#include "ui/main_window/qt/frm_tamlo.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tamlo-qt350"));
    QApplication::setApplicationVersion(QStringLiteral(TAMLO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TAMLO_APP_ID));
    tamlo::FontSubstitutions::Install();

    tamlo::FrmTamlo window;
    window.show();
    return QApplication::exec();
}
