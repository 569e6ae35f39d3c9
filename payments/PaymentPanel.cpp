#include "PaymentPanel.h"

#include "core/Regional.h"
#include "ui/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>

namespace {
constexpr int MaxMethodKeys = 9;

QLabel* figure(QWidget* parent, const QString& name, double scale)
{
    QLabel* l = valueLabel(parent, name, Qt::AlignRight | Qt::AlignVCenter, 110);
    QFont f = l->font();
    f.setBold(scale > 1);
    f.setPointSizeF(f.pointSizeF() * scale);
    l->setFont(f);
    return l;
}
} // namespace

PaymentPanel::PaymentPanel(const QList<PaymentMethod>& methods, Qt::Key firstKey, QWidget* parent)
    : QGroupBox(QStringLiteral("Pembayaran"), parent), m_methods(methods)
{
    setObjectName(QStringLiteral("fraBayar"));
    lblTotal_i = figure(this, QStringLiteral("lblTotal_i"), 1);
    lblPembulatan_i = figure(this, QStringLiteral("lblPembulatan_i"), 1);
    lblBayar_i = figure(this, QStringLiteral("lblBayar_i"), 1.5);
    txtDiterima = namedLineEdit(this, QStringLiteral("txtDiterima"), QStringLiteral("input_int"), 15);
    txtDiterima->setAlignment(Qt::AlignRight);
    QFont big = txtDiterima->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    txtDiterima->setFont(big);
    lblKembali_i = figure(this, QStringLiteral("lblKembali_i"), 1.8);
    lblPesan = new QLabel(this);
    lblPesan->setObjectName(QStringLiteral("lblPesan"));
    lblPesan->setStyleSheet(QStringLiteral("color: rgb(170, 0, 0); font-weight: bold;"));
    lblPesan->setWordWrap(true);
    lblPesan->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    cmdBayar = namedButton(this, QStringLiteral("cmdBayar"), QStringLiteral("&Bayar"), 90);

    auto* methodRow = new QHBoxLayout;
    for (int i = 0; i < m_methods.size(); ++i) {
        QString caption = m_methods.at(i).name;
        if (i < MaxMethodKeys) {
            const QKeySequence key(int(firstKey) + i);
            caption = key.toString(QKeySequence::NativeText) + QLatin1Char(' ') + caption;
            auto* shortcut = new QShortcut(key, this);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, i] { chooseMethod(i); });
        }
        QPushButton* b = namedButton(this, QStringLiteral("cmdMetode_%1").arg(i), caption, 70);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { chooseMethod(i); });
        methodRow->addWidget(b);
        cmdMetode << b;
    }

    // Two rows, so the panel fits under a till on a small screen: the amounts
    // with their captions above them, then the methods and the refusal.
    auto* form = new QGridLayout(this);
    form->setVerticalSpacing(2);
    const auto caption = [this](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        return l;
    };
    auto* detail = new QGridLayout;
    detail->addWidget(new QLabel(QStringLiteral("Total :"), this), 0, 0);
    detail->addWidget(lblTotal_i, 0, 1);
    detail->addWidget(new QLabel(QStringLiteral("Pembulatan :"), this), 1, 0);
    detail->addWidget(lblPembulatan_i, 1, 1);
    form->addLayout(detail, 0, 0, 2, 1);
    form->addWidget(caption(QStringLiteral("Harus Dibayar")), 0, 1);
    form->addWidget(lblBayar_i, 1, 1);
    form->addWidget(caption(QStringLiteral("Diterima")), 0, 2);
    form->addWidget(txtDiterima, 1, 2);
    form->addWidget(caption(QStringLiteral("Kembali")), 0, 3);
    form->addWidget(lblKembali_i, 1, 3);
    methodRow->addWidget(lblPesan, 1);
    methodRow->addWidget(cmdBayar);
    form->addLayout(methodRow, 2, 0, 1, 4);

    connect(txtDiterima, &QLineEdit::textChanged, this, &PaymentPanel::showChange);
    connect(cmdBayar, &QPushButton::clicked, this, &PaymentPanel::pay);
    clear();
}

void PaymentPanel::setAmounts(double total, double rounding, double amountToPay)
{
    m_amountToPay = amountToPay;
    lblTotal_i->setText(Regional::amount(total));
    lblPembulatan_i->setText(Regional::amount(rounding));
    lblBayar_i->setText(Regional::whole(amountToPay));
    if (!m_methods.isEmpty() && !m_methods.at(m_method).cash)
        txtDiterima->setText(Regional::whole(amountToPay));
    showChange();
}

void PaymentPanel::clear()
{
    txtDiterima->clear();
    lblPesan->clear();
    m_method = 0;
    for (int i = 0; i < cmdMetode.size(); ++i)
        cmdMetode.at(i)->setChecked(i == 0);
    txtDiterima->setReadOnly(false);
    setAmounts(0, 0, 0);
}

void PaymentPanel::showEvent(QShowEvent* event)
{
    // Enter in the amount pays instead of moving on. The window installs its
    // input conventions after building its controls; installed again here, this
    // filter sees the key before them (the newest filter runs first).
    txtDiterima->removeEventFilter(this);
    txtDiterima->installEventFilter(this);
    QGroupBox::showEvent(event);
}

void PaymentPanel::showPaid(double amountToPay, const Payment& payment)
{
    const QSignalBlocker quiet(txtDiterima);
    lblBayar_i->setText(Regional::whole(amountToPay));
    txtDiterima->setText(Regional::whole(payment.received));
    lblKembali_i->setText(Regional::whole(payment.change));
    lblPesan->clear();
}

bool PaymentPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtDiterima && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            pay();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void PaymentPanel::chooseMethod(int index)
{
    if (index < 0 || index >= m_methods.size())
        return;
    if (m_beforeMethod && !m_beforeMethod())
        return;
    m_method = index;
    for (int i = 0; i < cmdMetode.size(); ++i)
        cmdMetode.at(i)->setChecked(i == index);
    emit methodChosen(index);
    const bool cash = m_methods.at(index).cash;
    // Other methods are paid exactly: the amount is shown, not typed.
    txtDiterima->setReadOnly(!cash);
    txtDiterima->setText(cash ? QString() : Regional::whole(m_amountToPay));
    lblPesan->clear();
    showChange();
    txtDiterima->setFocus();
}

double PaymentPanel::received() const
{
    // Nothing typed (an emptied amount shows 0) is the exact amount.
    const double typed = Regional::read(txtDiterima->text());
    return typed == 0 ? m_amountToPay : typed;
}

void PaymentPanel::showChange()
{
    const double change = received() - m_amountToPay;
    lblKembali_i->setText(change < 0 ? QStringLiteral("-") : Regional::whole(change));
    if (change >= 0)
        lblPesan->clear();
}

void PaymentPanel::pay()
{
    if (m_methods.isEmpty())
        return;
    Payment payment;
    const PaymentCheck check = checkPayment(m_amountToPay, m_methods.at(m_method), received(), &payment);
    if (check != PaymentCheck::Ok) {
        lblPesan->setText(paymentCheckText(check, m_amountToPay));
        txtDiterima->setFocus();
        txtDiterima->selectAll();
        return;
    }
    emit paid(payment);
}
