#include "frmSearchNext.h"

#include "sales/SearchStore.h"
#include "ui/GridColumns.h"
#include "ui/GridFit.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

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

} // namespace

frmSearchNext::frmSearchNext(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSearchNext"));
    setWindowTitle(QStringLiteral("Search Customer"));
    DoApplyWindowLook(this);

    lblIDCust_i = valueLabel(this, QStringLiteral("lblIDCust_i"), Qt::AlignLeft, 160);
    lblNama_i = valueLabel(this, QStringLiteral("lblNama_i"), Qt::AlignLeft, 160);
    lblAlamat_i = valueLabel(this, QStringLiteral("lblAlamat_i"), Qt::AlignLeft, 160);
    lblAlamat_i->setWordWrap(true);
    lblNoTelp_i = valueLabel(this, QStringLiteral("lblNoTelp_i"), Qt::AlignLeft, 160);
    for (QLabel* l : {lblIDCust_i, lblNama_i, lblAlamat_i, lblNoTelp_i})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
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

    // Pressed by Enter when focused, never by Enter in the list.
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("Quit"), 80);
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
