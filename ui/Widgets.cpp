#include "Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

QPushButton* namedButton(QWidget* parent, const QString& name, const QString& caption,
                         int minimumWidth)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setMinimumWidth(minimumWidth);
    return b;
}

QLineEdit* namedLineEdit(QWidget* parent, const QString& name, const QString& tag, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setProperty("tag", tag);
    e->setMaxLength(maxLength);
    return e;
}

QLabel* valueLabel(QWidget* parent, const QString& name, Qt::Alignment align, int minimumWidth)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setMinimumWidth(minimumWidth);
    return l;
}

QLabel* pageLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

void showPageText(QLabel* label, const QString& text)
{
    // Room for one digit more than needed, so the next pages rarely widen it.
    const int needed = label->fontMetrics().horizontalAdvance(text + QLatin1Char('0')) +
                       2 * label->margin() + 2 * label->frameWidth();
    if (needed > label->minimumWidth())
        label->setMinimumWidth(needed);
    label->setText(text);
}

QHBoxLayout* pageButtonRow(QList<QPushButton*>& buttons, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    const QStringList captions{QStringLiteral("<<"), QStringLiteral("<"), QStringLiteral(">"),
                               QStringLiteral(">>")};
    for (int i = 0; i < captions.size(); ++i) {
        QPushButton* b =
            namedButton(parent, QStringLiteral("cmdNavigasi_%1").arg(i), captions.at(i));
        b->setFixedWidth(34);
        buttons << b;
        row->addWidget(b);
    }
    return row;
}

QHBoxLayout* buttonRow(const QList<QPushButton*>& buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons)
        row->addWidget(b);
    return row;
}
