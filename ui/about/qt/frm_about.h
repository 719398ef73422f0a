#pragma once

#include <QDialog>

class QPushButton;

namespace tamlo {

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

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

    // What the window drives, made from its design table.
    QPushButton* cmdOK_ = nullptr;
};

} // namespace tamlo
