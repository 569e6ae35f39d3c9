#pragma once

#include "core/Rights.h"

#include <QDialog>
#include <QString>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// An owner standing beside the till allows a cashier's one forbidden action
// by typing their user name and password. Accepted once an owner's password
// is checked; owner() then names them.
class frmIzinPemilik : public QDialog {
    Q_OBJECT
public:
    explicit frmIzinPemilik(Rights::Action action, QWidget* parent = nullptr);

    QLabel* lblTindakan;
    QLineEdit* txtUsername;
    QLineEdit* txtPassword;
    QPushButton* cmdIzin;
    QPushButton* cmdBatal;

    QString owner() const { return m_owner; }

    // The program's owner check (Rights::setOwnerCheck): the dialog, modally.
    static std::optional<QString> ask(Rights::Action action);

private:
    void cmdIzin_Click();
    QString m_owner;
};
