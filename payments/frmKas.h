#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Cash put into the drawer or taken out of it during a shift, with its reason.
class frmKas : public QDialog {
    Q_OBJECT
public:
    frmKas(qint64 idShift, QWidget* parent = nullptr);

    QRadioButton* optMasuk;
    QRadioButton* optKeluar;
    QLineEdit* txtJumlah;
    QLineEdit* txtKeterangan;
    QLabel* lblLaci_i; // cash expected in the drawer now
    QPushButton* cmdSimpan;
    QPushButton* cmdBatal;

private:
    void cmdSimpan_Click();

    qint64 m_idShift;
};
