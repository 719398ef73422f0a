#pragma once

#include "ui/about/core/reg_store_platform.h"

#include <QString>
#include <QStringList>

#include <utility>

class QWidget;

namespace tamlo {

// The launcher's platform on desktops without a registry: the values come from a .reg store,
// the file test and the start from Qt, and the message box is a QMessageBox over parent.
class QtLauncherPlatform : public RegStorePlatform {
public:
    static constexpr const char* kStoreName = "tamlo-qt350/registry.reg";
    static constexpr const char* kDefaultStore = ":/tamlo-qt350/registry.reg";

    QtLauncherPlatform(RegStore store, QWidget* parent)
        : RegStorePlatform(std::move(store)), parent_(parent) {}

    // The stores to read, best first: the user's configuration, then the system's.
    static QStringList StoreCandidates();
    // The first store found, else the default built into the program.
    static RegStore LoadStore();

    bool IsOrdinaryFile(const std::string& path) override;
    bool StartProgram(const std::string& path) override;
    void ShowMessage(const std::string& text) override;

private:
    QWidget* parent_;
};

} // namespace tamlo
