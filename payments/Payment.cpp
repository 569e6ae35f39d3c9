#include "Payment.h"

#include "core/Regional.h"

#include <cmath>

QList<PaymentMethod> paymentMethods(const QStringList& names)
{
    QList<PaymentMethod> methods;
    for (const QString& name : names)
        methods << PaymentMethod{name, name.compare(QLatin1String("Tunai"), Qt::CaseInsensitive) == 0};
    return methods;
}

namespace {
qint64 cents(double amount)
{
    // Through the shown text, so 0,005 rounds as the screen shows it.
    return std::llround(QString::number(amount, 'f', 2).toDouble() * 100);
}
} // namespace

double roundToStep(double amount, double step)
{
    const qint64 stepCents = std::max<qint64>(100, std::llround(step * 100));
    const qint64 c = cents(amount);
    const qint64 sign = c < 0 ? -1 : 1;
    const qint64 rounded = (std::llabs(c) + stepCents / 2) / stepCents * stepCents;
    return double(sign * rounded) / 100;
}

PaymentCheck checkPayment(double amountToPay, const PaymentMethod& method, double received,
                          Payment* payment)
{
    if (method.name.trimmed().isEmpty())
        return PaymentCheck::NoMethod;
    if (!method.cash)
        received = amountToPay;
    if (cents(received) < cents(amountToPay))
        return PaymentCheck::Short;
    if (payment)
        *payment = {method.name, method.cash, received, double(cents(received) - cents(amountToPay)) / 100};
    return PaymentCheck::Ok;
}

QString paymentCheckText(PaymentCheck check, double amountToPay)
{
    switch (check) {
    case PaymentCheck::Ok: return {};
    case PaymentCheck::NoMethod: return QStringLiteral("Pilih cara pembayaran lebih dahulu.");
    case PaymentCheck::Short:
        return QStringLiteral("Uang yang diterima kurang dari jumlah yang harus dibayar (%1).")
            .arg(Regional::whole(amountToPay));
    }
    return {};
}
