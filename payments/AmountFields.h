#pragma once

#include "ui/InputConventions.h"
#include "ui/Widgets.h"

#include <QLabel>
#include <QLineEdit>

// The money fields of the payment and shift windows: amounts in whole rupiah,
// right-aligned, grouped when left ("12.500").
inline QLineEdit* amountBox(QWidget* parent, const QString& name)
{
    QLineEdit* e = namedLineEdit(parent, name, QStringLiteral("input_int"), 15);
    e->setAlignment(Qt::AlignRight);
    return e;
}

inline QLabel* amountLabel(QWidget* parent, const QString& name)
{
    return valueLabel(parent, name, Qt::AlignRight | Qt::AlignVCenter, 140);
}

inline InputRules wholeAmounts()
{
    InputRules rules;
    rules.intFormat = InputRules::NumberFormat::Whole;
    return rules;
}
