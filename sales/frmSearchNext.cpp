#include "frmSearchNext.h"

#include "ui/GridFit.h"
#include "sales/SearchStore.h"
#include "ui/GridColumns.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>


namespace {

const QList<GridColumn>& listColumns()
{
    using F = GridColumn::Format;
    static const QList<GridColumn> columns = {
        {QString(), 0, Qt::AlignLeft, F::Text}, // idsales
        {QStringLiteral("Date"), 1000, Qt::AlignLeft, F::Text},
        {QStringLiteral("Variant"), 1000, Qt::AlignLeft, F::Text},
        {QStringLiteral("Mililiter"), 1000, Qt::AlignRight, F::Amount},
        {QStringLiteral("Total.ml"), 1000, Qt::AlignRight, F::Amount},
        {QStringLiteral("Botol"), 1000, Qt::AlignLeft, F::Text},
        {QStringLiteral("Harga Total"), 1000, Qt::AlignRight, F::Amount},
        {QStringLiteral("Diskon"), 700, Qt::AlignRight, F::Amount},
        {QStringLiteral("Harga Diskon"), 1000, Qt::AlignRight, F::Amount},
    };
    return columns;
}

QLabel* valueLabel(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setMinimumWidth(160);
    return l;
}

} // namespace

frmSearchNext::frmSearchNext(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSearchNext"));
    setWindowTitle(QStringLiteral("Search Customer"));
    DoApplyWindowLook(this);

    lblIDCust_i = valueLabel(this, QStringLiteral("lblIDCust_i"));
    lblNama_i = valueLabel(this, QStringLiteral("lblNama_i"));
    lblAlamat_i = valueLabel(this, QStringLiteral("lblAlamat_i"));
    lblAlamat_i->setWordWrap(true);
    lblNoTelp_i = valueLabel(this, QStringLiteral("lblNoTelp_i"));
    auto* header = new QGridLayout;
    header->addWidget(new QLabel(QStringLiteral("IDCust. :"), this), 0, 0);
    header->addWidget(lblIDCust_i, 0, 1);
    header->addWidget(new QLabel(QStringLiteral("Nama :"), this), 1, 0);
    header->addWidget(lblNama_i, 1, 1);
    header->addWidget(new QLabel(QStringLiteral("Alamat :"), this), 2, 0);
    header->addWidget(lblAlamat_i, 2, 1);
    header->addWidget(new QLabel(QStringLiteral("No. Telp :"), this), 3, 0);
    header->addWidget(lblNoTelp_i, 3, 1);
    header->setColumnStretch(1, 1);

    dtGridNext = new QTableView(this);
    dtGridNext->setObjectName(QStringLiteral("dtGridNext"));
    dtGridNext->setTabKeyNavigation(false);
    m_model = new RowSetModel(dtGridNext);
    setUpGrid(dtGridNext, m_model);
    applyGridColumns(dtGridNext, listColumns());
    fitColumnsToText(dtGridNext);
    dtGridNext->setMinimumHeight(240);

    cmdQuit = new QPushButton(QStringLiteral("Quit"), this);
    cmdQuit->setObjectName(QStringLiteral("cmdQuit"));
    // Pressed by Enter when focused, never by Enter in the list.
    cmdQuit->setAutoDefault(false);
    cmdQuit->setMinimumWidth(80);
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdQuit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(dtGridNext, 1);
    layout->addLayout(bottom);
    setTabOrder(dtGridNext, cmdQuit);
    resize(720, 440);
    InputConventions::install(this, InputRules{});
}

void frmSearchNext::setCustomer(const SalesStore::Customer& customer)
{
    m_idCust = customer.id;
    lblIDCust_i->setText(customer.nomor);
    lblNama_i->setText(customer.nama);
    lblAlamat_i->setText(customer.alamat);
    lblNoTelp_i->setText(customer.notelp);
}

void frmSearchNext::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    guardDb([this] { DoGetList(); });
    dtGridNext->setFocus();
}

void frmSearchNext::DoGetList()
{
    m_model->setRows(SearchStore::purchases(m_idCust));
    applyGridColumns(dtGridNext, listColumns());
    fitColumnsToText(dtGridNext);
}
