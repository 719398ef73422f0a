#include "ui/about/qt/qt_launcher_platform.h"

#include "ui/about/core/app_info.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#include <optional>
#include <stdexcept>

namespace tamlo {
namespace {

std::optional<QProcessEnvironment>& ToolEnvironment() {
    static std::optional<QProcessEnvironment> environment;
    return environment;
}

// Opened without blocking, so that a FIFO or a device never waits for a writer; only a regular
// file is read, and no more than one byte past the limit, so that a larger one is seen to be.
RegStore ReadStoreFile(const QString& path) {
    QFile file;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle); // closes fd on every way out
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        throw std::runtime_error("store is no regular file");
    }
    const QByteArray bytes = file.read(RegStore::kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        throw std::runtime_error("store cannot be read");
    }
    return RegStore::FromText(bytes.toStdString());
}

} // namespace

QStringList QtLauncherPlatform::StoreCandidates() {
    // Only a path from the root counts: relative ones, and Qt's ":" resource paths, do not.
    const auto absolute = [](const QString& path) { return path.startsWith(QLatin1Char('/')); };
    QStringList folders;
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString home = qEnvironmentVariable("HOME");
    if (absolute(configHome)) {
        folders.append(configHome);
    } else if (absolute(home)) {
        folders.append(home + QStringLiteral("/.config"));
    }
    const QString configDirs = qEnvironmentVariableIsEmpty("XDG_CONFIG_DIRS")
                                   ? QStringLiteral("/etc/xdg")
                                   : qEnvironmentVariable("XDG_CONFIG_DIRS");
    for (const QString& folder : configDirs.split(QLatin1Char(':'))) {
        if (absolute(folder)) {
            folders.append(folder);
        }
    }
    for (QString& folder : folders) {
        folder += QLatin1String(kStoreName);
    }
    return folders;
}

RegStore QtLauncherPlatform::LoadStore() {
    for (const QString& candidate : StoreCandidates()) {
        // Whatever stands there, a broken link or a FIFO too, is what the user or the system put
        // in place: it is read or it fails, and never falls through to the next one.
        struct stat info {};
        if (::lstat(QFile::encodeName(candidate).constData(), &info) == 0 ||
            (errno != ENOENT && errno != ENOTDIR)) {
            return ReadStoreFile(candidate);
        }
    }
    QFile builtIn(QString::fromLatin1(kDefaultStore));
    if (!builtIn.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("built-in store missing");
    }
    return RegStore::FromText(builtIn.readAll().toStdString());
}

void QtLauncherPlatform::SetToolEnvironment(const QProcessEnvironment& environment) {
    ToolEnvironment() = environment;
}

bool QtLauncherPlatform::IsOrdinaryFile(const std::string& path) {
    const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!info.isFile() || info.fileName().startsWith(QLatin1Char('.'))) {
        return false;
    }
    tested_ = path;
    testedFile_ = info.absoluteFilePath();
    return true;
}

bool QtLauncherPlatform::StartProgram(const std::string& path) {
    // The path is the program itself, never a command line: no shell, no splitting. A tested
    // path is given whole, so that a name with no slash in it is not looked up on $PATH instead.
    QProcess process;
    process.setProgram(path == tested_ ? testedFile_
                                       : QFile::decodeName(QByteArray::fromStdString(path)));
    if (ToolEnvironment()) {
        process.setProcessEnvironment(*ToolEnvironment());
    }
    return process.startDetached();
}

void QtLauncherPlatform::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(AppInfo::Title),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace tamlo
