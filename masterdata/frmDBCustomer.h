#pragma once

#include <QDialog>
#include <QList>

#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class RowSetModel;

// The register of customers, browsed by the first letter of the name (27
// letter labels "A" to "Z" and "..."), newest first, page by page, with an
// editor above. Typing an existing customer number puts the editor in
// "Update" mode for that customer; Delete in the list removes a customer
// with its sales, giving their stock back.
class frmDBCustomer : public QDialog {
    Q_OBJECT
public:
    explicit frmDBCustomer(QWidget* parent = nullptr);

    QGroupBox* fraCustomer;
    QLineEdit* txtNoCust;
    QLineEdit* txtNama;
    QPlainTextEdit* txtAlamat;
    QLineEdit* txtNoTelp;
    QPushButton* cmdSubmit;
    QPushButton* cmdNew;
    QList<QPushButton*> cmdNavigasi;
    QPushButton* cmdQuit;
    QList<QLabel*> lblAbjad;
    QTableView* dtGridCustomers;
    QLabel* lblPage_i;

    // The letter on show: "a" .. "z", or "..." for names beginning with a point.
    QString selAbjad = QStringLiteral("a");

    static QColor selectedLetterColor() { return QColor(128, 0, 0); }
    static QColor pointedLetterColor() { return QColor(255, 0, 0); }

    void DoFirstSetNav();
    void DoGetCustomers();
    void DoGetCustomer(const QString& number);
    void DoSubmitCustomer(const QString& mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restartList();
    void cmdNew_Click();
    void cmdSubmit_Click();
    void cmdNavigasi_Click(int index);
    void lblAbjad_Click(int index);
    void paintLetters(int pointed);
    void fillFromRow(int row);
    void deleteCurrentRow();
    void keepAddressWithinLimit();

    RowSetModel* rsCustomers;
    std::optional<int> m_editId;
    int m_shownPage = 0;
    bool m_loading = false;
};
