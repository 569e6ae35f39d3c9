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

// The register of perfume concentrates: a paged list by code with an editor
// above it. Typing the code of an existing variant puts the editor in
// "Update" mode for that variant; Delete in the list removes a variant with
// its sales and ledger rows.
class frmDBVariant : public QDialog {
    Q_OBJECT
public:
    explicit frmDBVariant(QWidget* parent = nullptr);

    QGroupBox* fraVariant;
    QLineEdit* txtKode;
    QLineEdit* txtNama;
    QLineEdit* txtHargaVariant;
    QPushButton* cmdSubmit;
    QPushButton* cmdNew;
    QList<QPushButton*> cmdNavigasi;
    QPushButton* cmdQuit;
    QTableView* dtGridVariants;
    QLabel* lblPage_i;

    void DoFirstSetNav();
    void DoGetVariants();
    void DoGetVariant(const QString& code);
    void DoSubmitVariant(const QString& mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restartList();
    void cmdNew_Click();
    void cmdSubmit_Click();
    void cmdNavigasi_Click(int index);
    void fillFromRow(int row);
    void deleteCurrentRow();

    RowSetModel* rsVariants;
    // The variant the editor is changing: the row chosen in the list or found
    // by the typed code. Empty in "Submit" mode.
    std::optional<int> m_editId;
    int m_shownPage = 0;
    bool m_loading = false;
};
