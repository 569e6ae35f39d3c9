#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Help > About: the program's name, banner and notice.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* Picture2;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
};
