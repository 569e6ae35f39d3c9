#include "frmShiftBuka.h"

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

frmShiftBuka::frmShiftBuka(const QString& till, QWidget* parent) : QDialog(parent), m_till(till)
{
    setObjectName(QStringLiteral("frmShiftBuka"));
    setWindowTitle(QStringLiteral("Buka Shift"));
    DoApplyWindowLook(this);

    lblKasir_i = valueLabel(this, QStringLiteral("lblKasir_i"), Qt::AlignLeft | Qt::AlignVCenter, 180);
    lblKasir_i->setText(till + QStringLiteral(" - ") + LoginFullName);
    txtModal = amountBox(this, QStringLiteral("txtModal"));
    cmdBuka = namedButton(this, QStringLiteral("cmdBuka"), QStringLiteral("&Buka Shift"), 100);
    cmdBatal = namedButton(this, QStringLiteral("cmdBatal"), QStringLiteral("Batal"), 90);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Kasir :"), this), 0, 0);
    form->addWidget(lblKasir_i, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Modal Kas :"), this), 1, 0);
    form->addWidget(txtModal, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Belum ada shift yang terbuka di kasir ini. Hitung "
                                                "uang di laci dan ketik jumlahnya."),
                                 this));
    layout->addLayout(form);
    layout->addLayout(buttonRow({cmdBuka, cmdBatal}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    InputConventions::install(this, wholeAmounts());
    connect(cmdBuka, &QPushButton::clicked, this, &frmShiftBuka::cmdBuka_Click);
    connect(cmdBatal, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(txtModal, cmdBuka);
    txtModal->setFocus();
}

void frmShiftBuka::cmdBuka_Click()
{
    const double opening = Regional::read(txtModal->text());
    if (opening < 0)
        return void(Prompt::message(QStringLiteral("Modal kas tidak boleh kurang dari 0."),
                                    EntryTitle, Prompt::Icon::Critical));
    ShiftStore::Outcome outcome = ShiftStore::Outcome::Done;
    if (!guardDb([&] { outcome = ShiftStore::open(m_till, opening, &m_id); }))
        return;
    if (outcome != ShiftStore::Outcome::Done) {
        Prompt::message(ShiftStore::refusalText(outcome), windowTitle(), Prompt::Icon::Exclamation);
        return reject();
    }
    accept();
}
