#include "Visit.h"

#include <cmath>

Visit::Visit(double roundingStep) : m_step(roundingStep)
{
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

bool Visit::pay(const Payment& payment)
{
    const PaymentMethod method{payment.method, payment.cash};
    Payment checked;
    m_paid = !m_items.isEmpty() &&
             checkPayment(amountToPay(), method, payment.received, &checked) == PaymentCheck::Ok;
    if (m_paid)
        m_payment = checked;
    return m_paid;
}
