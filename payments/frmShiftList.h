#pragma once

#include <QDialog>

class QDateEdit;
class QPushButton;
class QTableView;
class RowSetModel;

// The owner's list of the shifts of every till opened in a period, with their
// expected and counted cash and the difference; Enter or "Lihat" shows one as
// it was closed, to look at or print again.
class frmShiftList : public QDialog {
    Q_OBJECT
public:
    explicit frmShiftList(QWidget* parent = nullptr);

    QDateEdit* dtpDari;
    QDateEdit* dtpSampai;
    QPushButton* cmdTampil;
    QTableView* dtGridShift;
    QPushButton* cmdLihat;
    QPushButton* cmdQuit;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A shift of the list is to be shown.
    void shiftChosen(qint64 idShift);

private:
    void DoGetList();
    void showChosen();

    RowSetModel* m_model;
};
