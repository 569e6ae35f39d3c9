#include "Visit.h"

#include "core/Regional.h"

#include <cmath>

double roundToStep(double amount, double step)
{
    const qint64 stepCents = std::max<qint64>(100, std::llround(step * 100));
    const qint64 cents = std::llround(roundToCents(amount) * 100);
    const qint64 sign = cents < 0 ? -1 : 1;
    const qint64 rounded = (std::llabs(cents) + stepCents / 2) / stepCents * stepCents;
    return double(sign * rounded) / 100;
}

Visit::Visit(double roundingStep) : m_step(roundingStep)
{
}

QString Visit::checkText(Check check, double amountToPay)
{
    switch (check) {
    case Check::Ok: return {};
    case Check::NoItems: return QStringLiteral("Belum ada barang yang dibayar.");
    case Check::NoMethod: return QStringLiteral("Pilih cara pembayaran lebih dahulu.");
    case Check::Short:
        return QStringLiteral("Uang yang diterima kurang dari jumlah yang harus dibayar (%1).")
            .arg(Regional::whole(amountToPay));
    }
    return {};
}

void Visit::addItem(const VisitItem& item)
{
    m_items << item;
    m_paid = false;
}

void Visit::replaceItem(int index, const VisitItem& item)
{
    m_items[index] = item;
    m_paid = false;
}

void Visit::removeItem(int index)
{
    m_items.removeAt(index);
    m_paid = false;
}

void Visit::clear()
{
    m_items.clear();
    m_payment = {};
    m_paid = false;
}

double Visit::total() const
{
    qint64 cents = 0;
    for (const VisitItem& item : m_items)
        cents += std::llround(item.price().total * 100);
    return double(cents) / 100;
}

double Visit::amountToPay() const
{
    return roundToStep(total(), m_step);
}

double Visit::rounding() const
{
    return roundToCents(amountToPay() - total());
}

Visit::Check Visit::pay(const QString& method, bool cash, double received)
{
    m_paid = false;
    if (m_items.isEmpty())
        return Check::NoItems;
    if (method.trimmed().isEmpty())
        return Check::NoMethod;
    const double toPay = amountToPay();
    if (!cash)
        received = toPay;
    if (std::llround(received * 100) < std::llround(toPay * 100))
        return Check::Short;
    m_payment = {method, cash, received, roundToCents(received - toPay)};
    m_paid = true;
    return Check::Ok;
}
