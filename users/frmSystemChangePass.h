#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Lets the logged-in user replace their own password after giving the old one.
// Accepted once the password has been changed; Escape leaves it as it was.
class frmSystemChangePass : public QDialog {
    Q_OBJECT
public:
    explicit frmSystemChangePass(QWidget* parent = nullptr);

    QLineEdit* txtLastPass;
    QLineEdit* txtNewPass1;
    QLineEdit* txtNewPass2;
    QPushButton* cmdChange;

private:
    void cmdChange_Click();
};
