#pragma once

#include "payments/Payment.h"
#include "sales/Pricing.h"

#include <QList>
#include <QString>

// One customer's visit at the till as it is being entered: its items, each
// priced as a single sale is, the amount to pay in whole rupiah and its
// payment. No widgets and no database: the till shows it and turns keys into
// its calls, the visit store writes it.
struct VisitItem {
    int idVariant = 0;
    QString variantKode, variantNama;
    double hargaVariant = 0; // per millilitre
    int idBotol = 0;
    QString botolTipe;
    double hargaBotol = 0;
    double mililiter = 0, totalml = 0, diskon = 0;

    SalePrice price() const { return salePrice(mililiter, hargaVariant, hargaBotol, diskon); }
};

class Visit {
public:
    explicit Visit(double roundingStep = 1);

    const QList<VisitItem>& items() const { return m_items; }
    void addItem(const VisitItem& item);
    void replaceItem(int index, const VisitItem& item);
    void removeItem(int index);
    void clear();

    // Sum of the items' amounts after discount, to the cent.
    double total() const;
    // What the customer pays: the total rounded to the shop's step.
    double amountToPay() const;
    // amountToPay() - total(): positive when rounded up.
    double rounding() const;

    // Takes the payment when it covers the amount to pay. A visit without
    // items cannot be paid; any change to the items undoes the payment.
    bool pay(const Payment& payment);
    const Payment& payment() const { return m_payment; }
    bool isPaid() const { return m_paid; }

private:
    double m_step = 1;
    QList<VisitItem> m_items;
    Payment m_payment;
    bool m_paid = false;
};
