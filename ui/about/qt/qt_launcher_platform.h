#pragma once

#include "ui/about/core/reg_store_platform.h"

#include <QProcessEnvironment>
#include <QStringList>

#include <string>

class QWidget;

namespace tamlo {

// The launcher's platform on desktops without a registry: the values come from a .reg store,
// the file test and the start from Qt, and the message box is a QMessageBox over parent. The
// store is read at the first registry call of a press, inside the launcher's failure route.
class QtLauncherPlatform : public RegStorePlatform {
public:
    static constexpr const char* kStoreName = "/tamlo-qt350/registry.reg";
    static constexpr const char* kDefaultStore = ":/tamlo-qt350/registry.reg";

    explicit QtLauncherPlatform(QWidget* parent) : RegStorePlatform(&LoadStore), parent_(parent) {}

    // The stores to look for, best first: the user's configuration, then the system's, by the
    // XDG base directory rules (relative and empty entries are ignored).
    static QStringList StoreCandidates();
    // The first candidate that exists in any form decides: a regular file of at most
    // RegStore::kMaxFileSize bytes is read, anything else throws. None: the store built in.
    static RegStore LoadStore();

    // The environment the tool starts with: the one the program was given, before start-up
    // adjusted its own. Without it the tool gets the program's environment.
    static void SetToolEnvironment(const QProcessEnvironment& environment);

    bool IsOrdinaryFile(const std::string& path) override;
    // A path with a slash is started as it stands, a bare name is looked up on $PATH; a path that
    // passed the file test starts the very file that was tested.
    bool StartProgram(const std::string& path) override;
    void ShowMessage(const std::string& text) override;

private:
    QWidget* parent_;
    std::string tested_; // the last path that passed the file test
    QString testedFile_; // and the absolute path of the file it found
};

} // namespace tamlo
