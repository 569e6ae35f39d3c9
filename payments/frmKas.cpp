#include "frmKas.h"

#include "core/Globals.h"
#include "payments/AmountFields.h"
#include "payments/ShiftStore.h"
#include "core/Regional.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const QString EntryTitle = QStringLiteral("Periksa Entri");
} // namespace

frmKas::frmKas(qint64 idShift, QWidget* parent) : QDialog(parent), m_idShift(idShift)
{
    setObjectName(QStringLiteral("frmKas"));
    setWindowTitle(QStringLiteral("Kas Masuk / Keluar"));
    DoApplyWindowLook(this);

    optKeluar = new QRadioButton(QStringLiteral("Uang &keluar"), this);
    optKeluar->setObjectName(QStringLiteral("optKeluar"));
    optMasuk = new QRadioButton(QStringLiteral("Uang &masuk"), this);
    optMasuk->setObjectName(QStringLiteral("optMasuk"));
    optKeluar->setChecked(true);
    txtJumlah = amountBox(this, QStringLiteral("txtJumlah"));
    txtKeterangan = namedLineEdit(this, QStringLiteral("txtKeterangan"), QStringLiteral("input"), 100);
    txtKeterangan->setMinimumWidth(260);
    lblLaci_i = amountLabel(this, QStringLiteral("lblLaci_i"));
    cmdSimpan = namedButton(this, QStringLiteral("cmdSimpan"), QStringLiteral("&Simpan"), 90);
    cmdBatal = namedButton(this, QStringLiteral("cmdBatal"), QStringLiteral("Batal"), 90);

    guardDb([&] { lblLaci_i->setText(Regional::whole(ShiftStore::summary(idShift).expectedCash())); });

    auto* kind = new QHBoxLayout;
    kind->addWidget(optKeluar);
    kind->addWidget(optMasuk);
    kind->addStretch(1);
    auto* form = new QGridLayout;
    form->addLayout(kind, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Jumlah :"), this), 1, 0);
    form->addWidget(txtJumlah, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Alasan :"), this), 2, 0);
    form->addWidget(txtKeterangan, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("Uang di laci :"), this), 3, 0);
    form->addWidget(lblLaci_i, 3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttonRow({cmdSimpan, cmdBatal}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    InputConventions::install(this, wholeAmounts());
    connect(cmdSimpan, &QPushButton::clicked, this, &frmKas::cmdSimpan_Click);
    connect(cmdBatal, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(txtJumlah, txtKeterangan);
    setTabOrder(txtKeterangan, cmdSimpan);
    txtJumlah->setFocus();
}

void frmKas::cmdSimpan_Click()
{
    const double amount = Regional::read(txtJumlah->text());
    const auto refuse = [&](const QString& text, QLineEdit* field) {
        Prompt::message(text, EntryTitle, Prompt::Icon::Critical);
        field->setFocus();
    };
    if (amount <= 0)
        return refuse(QStringLiteral("Jumlah uang harus lebih dari 0."), txtJumlah);
    if (txtKeterangan->text().trimmed().isEmpty())
        return refuse(QStringLiteral("Alasan harus diisi."), txtKeterangan);
    ShiftStore::Outcome outcome = ShiftStore::Outcome::Done;
    bool tooMuch = false;
    if (!guardDb([&] {
            // Never more out of the drawer than the figures say is in it.
            const double inDrawer = ShiftStore::summary(m_idShift).expectedCash();
            tooMuch = optKeluar->isChecked() && amount > inDrawer;
            if (!tooMuch)
                outcome = ShiftStore::moveCash(m_idShift, optKeluar->isChecked() ? -amount : amount,
                                               txtKeterangan->text());
        }))
        return;
    if (tooMuch)
        return refuse(QStringLiteral("Uang di laci hanya %1; jumlah yang keluar tidak boleh lebih.")
                          .arg(lblLaci_i->text()),
                      txtJumlah);
    if (outcome != ShiftStore::Outcome::Done) {
        Prompt::message(ShiftStore::refusalText(outcome), windowTitle(), Prompt::Icon::Exclamation);
        return reject();
    }
    accept();
}
