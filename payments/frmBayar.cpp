#include "frmBayar.h"

#include "core/Regional.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Function keys F1 .. F9 choose the methods in their order.
constexpr int MaxMethodKeys = 9;

QLabel* figure(QWidget* parent, const QString& name, int pointScale)
{
    QLabel* l = valueLabel(parent, name, Qt::AlignRight | Qt::AlignVCenter, 220);
    QFont f = l->font();
    f.setBold(pointScale > 1);
    f.setPointSizeF(f.pointSizeF() * pointScale);
    l->setFont(f);
    return l;
}
} // namespace

frmBayar::frmBayar(double total, double rounding, double amountToPay,
                   const QList<PaymentMethod>& methods, QWidget* parent)
    : QDialog(parent), m_amountToPay(amountToPay), m_methods(methods)
{
    setObjectName(QStringLiteral("frmBayar"));
    setWindowTitle(QStringLiteral("Pembayaran"));
    DoApplyWindowLook(this);

    lblTotal_i = figure(this, QStringLiteral("lblTotal_i"), 1);
    lblPembulatan_i = figure(this, QStringLiteral("lblPembulatan_i"), 1);
    lblBayar_i = figure(this, QStringLiteral("lblBayar_i"), 2);
    txtDiterima = namedLineEdit(this, QStringLiteral("txtDiterima"), QStringLiteral("input_int"), 15);
    txtDiterima->setAlignment(Qt::AlignRight);
    QFont big = txtDiterima->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    txtDiterima->setFont(big);
    lblKembali_i = figure(this, QStringLiteral("lblKembali_i"), 3);
    lblPesan = new QLabel(this);
    lblPesan->setObjectName(QStringLiteral("lblPesan"));
    lblPesan->setStyleSheet(QStringLiteral("color: rgb(170, 0, 0); font-weight: bold;"));
    lblPesan->setWordWrap(true);
    cmdBayar = namedButton(this, QStringLiteral("cmdBayar"), QStringLiteral("&Bayar"), 90);
    cmdBatal = namedButton(this, QStringLiteral("cmdBatal"), QStringLiteral("Batal"), 90);

    auto* methodRow = new QHBoxLayout;
    for (int i = 0; i < m_methods.size(); ++i) {
        const QString caption = i < MaxMethodKeys
                                    ? QStringLiteral("F%1 %2").arg(i + 1).arg(m_methods.at(i).name)
                                    : m_methods.at(i).name;
        QPushButton* b = namedButton(this, QStringLiteral("cmdMetode_%1").arg(i), caption, 80);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { chooseMethod(i); });
        methodRow->addWidget(b);
        cmdMetode << b;
    }

    auto* form = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* w) {
        form->addWidget(new QLabel(caption, this), row, 0);
        form->addWidget(w, row++, 1);
    };
    addRow(QStringLiteral("Total :"), lblTotal_i);
    addRow(QStringLiteral("Pembulatan :"), lblPembulatan_i);
    addRow(QStringLiteral("Harus Dibayar :"), lblBayar_i);
    form->addLayout(methodRow, row++, 0, 1, 2);
    addRow(QStringLiteral("Diterima :"), txtDiterima);
    addRow(QStringLiteral("Kembali :"), lblKembali_i);
    form->addWidget(lblPesan, row++, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttonRow({cmdBayar, cmdBatal}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    lblTotal_i->setText(Regional::amount(total));
    lblPembulatan_i->setText(Regional::amount(rounding));
    lblBayar_i->setText(Regional::whole(m_amountToPay));

    InputRules rules;
    rules.intFormat = InputRules::NumberFormat::Whole;
    rules.intZeroWhenEmpty = false;
    InputConventions::install(this, rules);
    // After the conventions, so Enter in the amount pays instead of moving on.
    txtDiterima->installEventFilter(this);
    installEventFilter(this);

    connect(txtDiterima, &QLineEdit::textChanged, this, &frmBayar::showChange);
    connect(cmdBayar, &QPushButton::clicked, this, &frmBayar::cmdBayar_Click);
    connect(cmdBatal, &QPushButton::clicked, this, &QDialog::reject);
    chooseMethod(0);
}

bool frmBayar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int f = key->key() - Qt::Key_F1;
        if (key->modifiers() == Qt::NoModifier && f >= 0 && f < std::min<int>(MaxMethodKeys, int(m_methods.size()))) {
            chooseMethod(f);
            return true;
        }
        if (watched == txtDiterima &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            cmdBayar_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmBayar::chooseMethod(int index)
{
    if (index < 0 || index >= m_methods.size())
        return;
    m_method = index;
    for (int i = 0; i < cmdMetode.size(); ++i)
        cmdMetode.at(i)->setChecked(i == index);
    const bool cash = m_methods.at(index).cash;
    // Other methods are paid exactly: the amount is shown, not typed.
    txtDiterima->setReadOnly(!cash);
    txtDiterima->setText(cash ? QString() : Regional::whole(m_amountToPay));
    lblPesan->clear();
    showChange();
    txtDiterima->setFocus();
}

void frmBayar::showChange()
{
    // Once paid the figures stay as the customer was told them.
    if (m_paid)
        return;
    const QString typed = txtDiterima->text().trimmed();
    const double received = typed.isEmpty() ? m_amountToPay : Regional::read(typed);
    const double change = received - m_amountToPay;
    lblKembali_i->setText(change < 0 ? QStringLiteral("-") : Regional::whole(change));
    if (!lblPesan->text().isEmpty() && change >= 0)
        lblPesan->clear();
}

void frmBayar::cmdBayar_Click()
{
    if (m_methods.isEmpty())
        return;
    const QString typed = txtDiterima->text().trimmed();
    const double received = typed.isEmpty() ? m_amountToPay : Regional::read(typed);
    const PaymentCheck check =
        checkPayment(m_amountToPay, m_methods.at(m_method), received, &m_payment);
    if (check != PaymentCheck::Ok) {
        lblPesan->setText(paymentCheckText(check, m_amountToPay));
        txtDiterima->setFocus();
        txtDiterima->selectAll();
        return;
    }
    m_paid = true;
    accept();
}
