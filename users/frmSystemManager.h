#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableView;
class RowSetModel;

// The user accounts: a list of all accounts under an editor that adds an
// account ("Submit") or sets a new password and full name for the account
// whose name is typed or chosen in the list ("Update"). Delete removes the
// account named in the editor, if it has written nothing and is not the last.
class frmSystemManager : public QDialog {
    Q_OBJECT
public:
    explicit frmSystemManager(QWidget* parent = nullptr);

    QGroupBox* fraEditor;
    QLineEdit* txtUsername;
    QLineEdit* txtPassword1;
    QLineEdit* txtPassword2;
    QLineEdit* txtNamaLengkap;
    // Ticked: the account is an owner (pemilik); else a cashier (kasir).
    QCheckBox* chkPemilik;
    QPushButton* cmdSubmit;
    QPushButton* cmdNew;
    QPushButton* cmdDelete;
    QPushButton* cmdQuit;
    QTableView* dtGridUsers;
    RowSetModel* rsUsers;

    // Reads every account into the list, standing on the row of `current`
    // (or on the first row) without touching the editor.
    void DoGetList(const QString& current = {});
    // Fills the editor for an existing account or empties it for a new one.
    void DoGetUser(const QString& name);
    // Writes the editor: mode "submit" adds an account, "update" changes one.
    // False when nothing was written.
    bool DoSubmit(const QString& mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdSubmit_Click();
    void cmdNew_Click();
    void cmdDelete_Click();
    void dtGridUsers_RowColChange(int row);

    // True while a save or a delete reloads the list: the list's row changes
    // then leave the editor alone.
    bool isRefreshing = false;
};
