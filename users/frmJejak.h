#pragma once

#include "users/TrailStore.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RowSetModel;

// The owner's list of the trail of changes: filtered by period, user and
// kind, newest first, a page at a time, and saved as CSV.
class frmJejak : public QDialog {
    Q_OBJECT
public:
    explicit frmJejak(QWidget* parent = nullptr);

    QDateEdit* dtpDari;
    QDateEdit* dtpSampai;
    QLineEdit* txtUser;
    QComboBox* cboJenis;
    QPushButton* cmdTampil;
    QPushButton* cmdNavigasi[4]; // first, previous, next, last
    QLabel* lblHalaman;
    QTableView* dtGridJejak;
    RowSetModel* rsJejak;
    QPushButton* cmdCSV;
    QPushButton* cmdQuit;

    TrailStore::Filter filter() const;
    // Counts the rows of the filter and shows the first page.
    void DoGetList();
    // Shows page `page` (0 the newest) of the counted rows.
    void DoGetPage(int page);
    int currentPage() const { return m_page; }
    int pageCount() const;

private:
    void cmdCSV_Click();
    int pageSize() const;

    TrailStore::Filter m_shown;
    qint64 m_count = 0;
    int m_page = 0;
};
