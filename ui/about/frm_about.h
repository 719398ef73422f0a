#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;

namespace tamlo {

class LineShape;

// The About window: the program icon, title and version, where the source lives, the licence,
// an OK button and the System Info button. Every opening builds it afresh.
class frmAbout final : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* owner);
    ~frmAbout() override;

    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

    // Opens a fresh About window modally over its owner and returns when it has closed.
    static void ShowModal(QWidget* owner);

    // "Version " and the three numbers, in decimal without leading zeros.
    static QString VersionText(std::uint16_t major, std::uint16_t minor, std::uint16_t revision);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

    QLabel* picIcon_;
    QPushButton* cmdOK_;
    QPushButton* cmdSysInfo_;
    QLabel* Label1_;
    QLabel* lblDescription_;
    QLabel* lblTitle_;
    LineShape* Line1_1_;
    LineShape* Line1_0_;
    QLabel* lblVersion_;
    QLabel* lblDisclaimer_;
};

} // namespace tamlo
