#include "ui/about/qt/qt_launcher_platform.h"

#include "ui/about/core/app_info.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

namespace tamlo {
namespace {

// Opened without blocking (a FIFO or a device never waits for a writer), then only a regular
// file is read, and no more than one byte past the limit.
std::optional<std::string> ReadSmallRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<std::string> result;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uint64_t>(info.st_size) <= RegStore::kMaxFileSize) {
        std::string bytes(RegStore::kMaxFileSize + 1, '\0');
        std::size_t filled = 0;
        bool failed = false;
        while (filled < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (got == 0) {
                break;
            }
            if (got < 0) {
                failed = true;
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
        // The file may have grown since it was measured.
        if (!failed && filled <= RegStore::kMaxFileSize) {
            bytes.resize(filled);
            result = std::move(bytes);
        }
    }
    ::close(fd);
    return result;
}

} // namespace

QStringList QtLauncherPlatform::StoreCandidates() {
    return QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation,
                                     QString::fromLatin1(kStoreName));
}

RegStore QtLauncherPlatform::LoadStore() {
    const QStringList candidates = StoreCandidates();
    if (!candidates.isEmpty()) {
        // The first one found counts, even when it cannot be read: a user who put a store in
        // place means it, and a broken one must not silently fall back to another.
        const auto bytes =
            ReadSmallRegularFile(QFile::encodeName(candidates.front()).toStdString());
        return bytes ? RegStore::FromText(*bytes) : RegStore();
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
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(AppInfo::Title),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace tamlo
