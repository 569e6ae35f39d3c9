#pragma once

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

// A way of paying the shop accepts. Cash is counted in the drawer.
struct PaymentMethod {
    QString name;
    bool cash = false;
};

// How the customer pays. Cash is counted: what was handed over and the change.
struct VisitPayment {
    QString method;
    bool cash = false;
    double received = 0; // cash handed over; the amount to pay for other methods
    double change = 0;
};

// The amount rounded to the nearest multiple of `step` rupiah (halves up);
// a step below 1 means whole rupiah. Worked in whole cents, so 0,5 always
// rounds the same way whatever its binary form.
double roundToStep(double amount, double step);

class Visit {
public:
    explicit Visit(double roundingStep = 1);

    enum class Check {
        Ok,
        NoItems,   // nothing to pay for
        NoMethod,  // no payment method chosen
        Short,     // less cash than the amount to pay
    };
    static QString checkText(Check check, double amountToPay = 0);

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

    // Checks and, when it is Ok, sets the payment. A method other than cash
    // is paid exactly; cash may be more, and the rest is the change.
    Check pay(const QString& method, bool cash, double received);
    const VisitPayment& payment() const { return m_payment; }
    bool isPaid() const { return m_paid; }

private:
    double m_step = 1;
    QList<VisitItem> m_items;
    VisitPayment m_payment;
    bool m_paid = false;
};
