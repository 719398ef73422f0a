#include "ui/about/qt_launcher_platform.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace tamlo {

QStringList QtLauncherPlatform::StoreCandidates() {
    return QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation,
                                     QString::fromLatin1(kStoreName));
}

RegStore QtLauncherPlatform::LoadStore() {
    const QStringList candidates = StoreCandidates();
    if (!candidates.isEmpty()) {
        // The first one found counts, even when it cannot be read: a user who put a store in
        // place means it, and a broken one must not silently fall back to another.
        return RegStore::FromFile(QFile::encodeName(candidates.front()).toStdString());
    }
    QFile builtIn(QString::fromLatin1(kDefaultStore));
    if (!builtIn.open(QIODevice::ReadOnly)) {
        return RegStore();
    }
    return RegStore::FromText(builtIn.read(RegStore::kMaxFileSize + 1).toStdString());
}

bool QtLauncherPlatform::IsOrdinaryFile(const std::string& path) {
    const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(path)));
    return !path.empty() && info.isFile() && !info.fileName().startsWith(QLatin1Char('.'));
}

bool QtLauncherPlatform::StartProgram(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    // The path is the program itself, never a command line: no shell, no splitting.
    return QProcess::startDetached(QFile::decodeName(QByteArray::fromStdString(path)), {});
}

void QtLauncherPlatform::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kMessageCaption),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace tamlo
