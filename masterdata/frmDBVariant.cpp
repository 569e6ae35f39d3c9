#include "frmDBVariant.h"

#include "core/Regional.h"
#include "core/Rights.h"
#include "masterdata/RegisterStore.h"
#include "masterdata/RegisterTexts.h"
#include "ui/InputConventions.h"
#include "ui/Paging.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
RegisterList variantList()
{
    using F = GridColumn::Format;
    return {QStringLiteral("dtGridVariants"),
            {
                {QString(), 0, Qt::AlignLeft, F::Text},
                {QStringLiteral("Kode"), 800, Qt::AlignLeft, F::Text},
                {QStringLiteral("Nama"), 2000, Qt::AlignLeft, F::Text},
                {QStringLiteral("Harga/ml"), 900, Qt::AlignRight, F::Whole},
                {QStringLiteral("Stock"), 900, Qt::AlignRight, F::Amount},
                {QString(), 0},
                {QString(), 0},
                {QString(), 0},
                {QString(), 0},
            },
            RegisterStore::variantKeys(),
            QStringLiteral("idvariant"),
            QStringLiteral("variant_nama"),
            QStringLiteral("Kode variant")};
}

// What the editor's cost fields hold, for those who may change them.
std::optional<RegisterStore::CostFields> costsOf(const QLineEdit* pokok, const QLineEdit* minimum)
{
    if (!Rights::may(Rights::Action::SeeCost))
        return std::nullopt;
    return RegisterStore::CostFields{Regional::read(pokok->text()), Regional::read(minimum->text())};
}
} // namespace

frmDBVariant::frmDBVariant(QWidget* parent)
    : RegisterWindow(QStringLiteral("frmDBVariant"), variantList(), parent)
{
    fraVariant = new QGroupBox(QStringLiteral("Data Variant"), this);
    fraVariant->setObjectName(QStringLiteral("fraVariant"));
    txtKode = namedLineEdit(fraVariant, QStringLiteral("txtKode"), QStringLiteral("input"), 12);
    txtNama = namedLineEdit(fraVariant, QStringLiteral("txtNama"), QStringLiteral("input"), 20);
    txtHargaVariant = priceEdit(QStringLiteral("txtHargaVariant"), fraVariant);
    txtPokok = priceEdit(QStringLiteral("txtPokok"), fraVariant);
    txtMinimum = priceEdit(QStringLiteral("txtMinimum"), fraVariant);
    fitWidth(txtKode, QString(12, QLatin1Char('M')), 110);
    txtNama->setMinimumWidth(190);

    auto* form = new QGridLayout(fraVariant);
    form->addWidget(new QLabel(QStringLiteral("Kode"), fraVariant), 0, 0);
    form->addWidget(txtKode, 0, 1, Qt::AlignLeft);
    form->addWidget(new QLabel(QStringLiteral("Nama"), fraVariant), 1, 0);
    form->addWidget(txtNama, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Harga/ml"), fraVariant), 2, 0);
    form->addWidget(txtHargaVariant, 2, 1, Qt::AlignLeft);
    addCostFields(form, 3, txtPokok, QStringLiteral("Harga po&kok/ml"), txtMinimum,
                  QStringLiteral("M&inimum (ml)"));
    form->setColumnStretch(1, 1);

    connect(txtKode, &QLineEdit::textChanged, this,
            [this](const QString& text) { guardDb([&] { DoGetVariant(text); }); });
    assemble(fraVariant, {txtKode, txtNama, txtHargaVariant, txtPokok, txtMinimum}, priceRules());
}

void frmDBVariant::DoFirstSetNav()
{
    NavRecordCount = RegisterStore::countVariants();
}

RowSet frmDBVariant::readPage(const PagePlan& plan)
{
    return RegisterStore::variantPage(plan);
}

void frmDBVariant::DoGetVariant(const QString& code)
{
    const std::optional<RegisterStore::Variant> found = RegisterStore::findVariant(code);
    txtNama->setText(found ? found->nama : QString());
    txtHargaVariant->setText(found ? Regional::plain(found->harga) : QStringLiteral("0"));
    txtPokok->setText(found ? Regional::plain(found->cost.pokok) : QStringLiteral("0"));
    txtMinimum->setText(found ? Regional::plain(found->cost.minimum) : QStringLiteral("0"));
    setEditing(found ? std::optional<int>(found->id) : std::nullopt);
}

void frmDBVariant::fillEditor(int row)
{
    txtKode->setText(m_rows->value(row, QStringLiteral("variant_kode")).toString());
    txtNama->setText(m_rows->value(row, QStringLiteral("variant_nama")).toString());
    txtHargaVariant->setText(
        Regional::whole(m_rows->value(row, QStringLiteral("variant_harga")).toDouble()));
}

void frmDBVariant::clearEditor()
{
    txtPokok->setText(QStringLiteral("0"));
    txtMinimum->setText(QStringLiteral("0"));
    txtKode->clear();
    txtNama->clear();
    txtHargaVariant->setText(QStringLiteral("0"));
}

void frmDBVariant::cmdSubmit_Click()
{
    if (typedKey().isEmpty() || txtNama->text().trimmed().isEmpty()) {
        Prompt::message(QStringLiteral("Tidak ada entri kode atau nama."),
                        RegisterTexts::EntryTitle, Prompt::Icon::Critical);
        txtKode->setFocus();
        return;
    }
    DoSubmitVariant(submitMode());
}

void frmDBVariant::DoSubmitVariant(const QString& mode)
{
    submit(mode, [this](std::optional<int> id) {
        return RegisterStore::saveVariant(id, txtKode->text(), txtNama->text(),
                                   Regional::read(txtHargaVariant->text()),
                                   costsOf(txtPokok, txtMinimum));
    });
}

bool frmDBVariant::isReferenced(int id)
{
    return RegisterStore::variantIsReferenced(id);
}

RegisterStore::Outcome frmDBVariant::deleteRow(int id)
{
    return RegisterStore::deleteVariant(id);
}

QString frmDBVariant::typedKey() const
{
    return txtKode->text().trimmed();
}
