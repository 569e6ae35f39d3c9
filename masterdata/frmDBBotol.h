#pragma once

#include <QDialog>
#include <QList>

#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RowSetModel;

// The register of bottle types: a paged list by type, without the built-in
// refill type, with an editor above it. Typing an existing type puts the
// editor in "Update" mode for it (the refill type too: its price can be set,
// its name stays); Delete in the list removes a type with its sales and
// ledger rows.
class frmDBBotol : public QDialog {
    Q_OBJECT
public:
    explicit frmDBBotol(QWidget* parent = nullptr);

    QGroupBox* fraBotol;
    QLineEdit* txtTipeBotol;
    QLineEdit* txtHargaBotol;
    QPushButton* cmdSubmit;
    QPushButton* cmdNew;
    QList<QPushButton*> cmdNavigasi;
    QPushButton* cmdQuit;
    QTableView* dtGridBotols;
    QLabel* lblPage_i;

    void DoFirstSetNav();
    void DoGetBotols();
    void DoGetBotol(const QString& type);
    void DoSubmitBotol(const QString& mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restartList();
    void cmdNew_Click();
    void cmdSubmit_Click();
    void cmdNavigasi_Click(int index);
    void fillFromRow(int row);
    void deleteCurrentRow();

    RowSetModel* rsBotols;
    std::optional<int> m_editId;
    int m_shownPage = 0;
    bool m_loading = false;
};
