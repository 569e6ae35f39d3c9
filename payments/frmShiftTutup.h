#pragma once

#include "payments/ShiftStore.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RowSetModel;

// The close of a shift: per method what was taken, the cash expected in the
// drawer, the count by note and coin (or the counted total typed at once) and
// the difference. A closed shift is shown as it was closed, read-only; its
// report can be printed again.
class frmShiftTutup : public QDialog {
    Q_OBJECT
public:
    frmShiftTutup(qint64 idShift, QWidget* parent = nullptr);

    QLabel* lblShift_i;
    QTableView* dtGridMetode;
    QLabel* lblModal_i;
    QLabel* lblKasMasuk_i;
    QLabel* lblKasKeluar_i;
    QLabel* lblHarap_i;
    QList<QLineEdit*> txtPecahan; // pieces of each note and coin, largest first
    QLineEdit* txtHitung;         // the counted cash
    QLabel* lblSelisih_i;
    QPushButton* cmdTutup;
    QPushButton* cmdCetak;
    QPushButton* cmdPdf;
    QPushButton* cmdBatal;

    // The figures as shown (after a close, as kept).
    const ShiftStore::Summary& summary() const { return m_summary; }

signals:
    // A closed shift's report is wanted on paper, or as a PDF file.
    void printRequested(const ShiftStore::Summary& summary);
    void pdfRequested(const ShiftStore::Summary& summary);

private:
    void showSummary();
    void countChanged();
    void cmdTutup_Click();
    QList<QPair<int, int>> pieces() const;

    qint64 m_idShift;
    ShiftStore::Summary m_summary;
    RowSetModel* m_model;
    bool m_fromPieces = false;
};
