#include "frmAbout.h"

#include "ui/Module1.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About System"));
    DoApplyWindowLook(this);

    Picture2 = new QLabel(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setPixmap(QPixmap(QStringLiteral(":/about_banner.jpg")));
    Picture2->setFixedSize(500, 85);

    lblDisclaimer = new QLabel(this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setText(QStringLiteral(
        "<b>proTavoruh</b> &mdash; sistem kasir dan stok Tavoru Aromatic.<br><br>"
        "Program ini mencatat penjualan konsentrat parfum per mililiter beserta botolnya, "
        "mengelola stok konsentrat dan botol, data pelanggan, varian dan tipe botol, "
        "serta menyusun laporan penjualan harian, bulanan dan tahunan.<br><br>"
        "Program ini dilindungi hak cipta. Dilarang menggandakan atau menyebarkan sebagian "
        "maupun seluruh program tanpa izin tertulis dari pemiliknya. Data yang tersimpan "
        "adalah tanggung jawab pemilik toko; buatlah salinan database secara berkala."));

    auto makeLine = [this](int index) {
        auto* line = new QFrame(this);
        line->setObjectName(QStringLiteral("Line1_%1").arg(index));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        return line;
    };

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setMinimumWidth(90);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Picture2);
    layout->addWidget(makeLine(0));
    layout->addWidget(lblDisclaimer);
    layout->addWidget(makeLine(1));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
