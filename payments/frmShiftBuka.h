#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// Opening a shift on the till: the cash in the drawer ("modal kas").
class frmShiftBuka : public QDialog {
    Q_OBJECT
public:
    frmShiftBuka(const QString& till, QWidget* parent = nullptr);

    // The shift opened when the window was accepted.
    qint64 openedShift() const { return m_id; }

    QLabel* lblKasir_i;
    QLineEdit* txtModal;
    QPushButton* cmdBuka;
    QPushButton* cmdBatal;

private:
    void cmdBuka_Click();

    QString m_till;
    qint64 m_id = 0;
};
