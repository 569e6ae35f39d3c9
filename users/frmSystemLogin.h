#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Identifies the person at the till. Accepted after a successful login, which
// sets LoginUserName and LoginFullName; rejected by Escape or the close button,
// leaving them as they were.
class frmSystemLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmSystemLogin(QWidget* parent = nullptr);

    QLineEdit* txtUsername;
    QLineEdit* txtPassword;
    QPushButton* cmdLogin;

    // Whether both a user name and a password were typed; says which is
    // missing and puts the focus there when not.
    static bool entryComplete(QLineEdit* username, QLineEdit* password);

private:
    void cmdLogin_Click();
};
