#include "frmDBBotol.h"

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
RegisterList botolList()
{
    using F = GridColumn::Format;
    return {QStringLiteral("dtGridBotols"),
            {
                {QString(), 0, Qt::AlignLeft, F::Text},
                {QStringLiteral("Tipe Botol"), 1500, Qt::AlignLeft, F::Text},
                {QStringLiteral("Harga"), 900, Qt::AlignRight, F::Whole},
                {QStringLiteral("Stock"), 900, Qt::AlignRight, F::Whole},
                {QString(), 0},
                {QString(), 0},
                {QString(), 0},
                {QString(), 0},
            },
            RegisterStore::botolKeys(),
            QStringLiteral("idbotol"),
            QStringLiteral("botol_tipe"),
            QStringLiteral("Tipe botol")};
}

// What the editor's cost fields hold, for those who may change them.
std::optional<RegisterStore::CostFields> costsOf(const QLineEdit* pokok, const QLineEdit* minimum)
{
    if (!Rights::may(Rights::Action::SeeCost))
        return std::nullopt;
    return RegisterStore::CostFields{Regional::read(pokok->text()), Regional::read(minimum->text())};
}
} // namespace

frmDBBotol::frmDBBotol(QWidget* parent)
    : RegisterWindow(QStringLiteral("frmDBBotol"), botolList(), parent)
{
    fraBotol = new QGroupBox(QStringLiteral("Data Botol"), this);
    fraBotol->setObjectName(QStringLiteral("fraBotol"));
    txtTipeBotol =
        namedLineEdit(fraBotol, QStringLiteral("txtTipeBotol"), QStringLiteral("input"), 12);
    txtHargaBotol = priceEdit(QStringLiteral("txtHargaBotol"), fraBotol);
    txtPokok = priceEdit(QStringLiteral("txtPokok"), fraBotol);
    txtMinimum = priceEdit(QStringLiteral("txtMinimum"), fraBotol);
    fitWidth(txtTipeBotol, QString(12, QLatin1Char('M')), 130);

    auto* form = new QGridLayout(fraBotol);
    form->addWidget(new QLabel(QStringLiteral("Tipe"), fraBotol), 0, 0);
    form->addWidget(txtTipeBotol, 0, 1, Qt::AlignLeft);
    form->addWidget(new QLabel(QStringLiteral("Harga"), fraBotol), 1, 0);
    form->addWidget(txtHargaBotol, 1, 1, Qt::AlignLeft);
    addCostFields(form, 2, txtPokok, QStringLiteral("Harga po&kok"), txtMinimum,
                  QStringLiteral("M&inimum (botol)"));
    form->setColumnStretch(1, 1);

    connect(txtTipeBotol, &QLineEdit::textChanged, this,
            [this](const QString& text) { guardDb([&] { DoGetBotol(text); }); });
    assemble(fraBotol, {txtTipeBotol, txtHargaBotol, txtPokok, txtMinimum}, priceRules());
}

void frmDBBotol::DoFirstSetNav()
{
    NavRecordCount = RegisterStore::countBotols();
}

RowSet frmDBBotol::readPage(const PagePlan& plan)
{
    return RegisterStore::botolPage(plan);
}

void frmDBBotol::DoGetBotol(const QString& type)
{
    const std::optional<RegisterStore::Botol> found = RegisterStore::findBotol(type);
    txtHargaBotol->setText(found ? Regional::plain(found->harga) : QStringLiteral("0"));
    txtPokok->setText(found ? Regional::plain(found->cost.pokok) : QStringLiteral("0"));
    txtMinimum->setText(found ? Regional::plain(found->cost.minimum) : QStringLiteral("0"));
    setEditing(found ? std::optional<int>(found->id) : std::nullopt);
}

void frmDBBotol::fillEditor(int row)
{
    txtTipeBotol->setText(m_rows->value(row, QStringLiteral("botol_tipe")).toString());
    txtHargaBotol->setText(
        Regional::whole(m_rows->value(row, QStringLiteral("botol_harga")).toDouble()));
}

void frmDBBotol::clearEditor()
{
    txtPokok->setText(QStringLiteral("0"));
    txtMinimum->setText(QStringLiteral("0"));
    txtTipeBotol->clear();
    txtHargaBotol->setText(QStringLiteral("0"));
}

void frmDBBotol::cmdSubmit_Click()
{
    if (typedKey().isEmpty()) {
        Prompt::message(QStringLiteral("Tidak ada entri Tipe Botol"), RegisterTexts::EntryTitle,
                        Prompt::Icon::Critical);
        txtTipeBotol->setFocus();
        return;
    }
    DoSubmitBotol(submitMode());
}

void frmDBBotol::DoSubmitBotol(const QString& mode)
{
    submit(mode, [this](std::optional<int> id) {
        return RegisterStore::saveBotol(id, txtTipeBotol->text(),
                                        Regional::read(txtHargaBotol->text()),
                                   costsOf(txtPokok, txtMinimum));
    });
}

bool frmDBBotol::isReferenced(int id)
{
    return RegisterStore::botolIsReferenced(id);
}

RegisterStore::Outcome frmDBBotol::deleteRow(int id)
{
    return RegisterStore::deleteBotol(id);
}

QString frmDBBotol::deleteTitle(bool referenced) const
{
    // A type nothing refers to is asked about and confirmed under its own title.
    return referenced ? RegisterTexts::DeleteTitle : QStringLiteral("Hapus Record");
}

QString frmDBBotol::typedKey() const
{
    return txtTipeBotol->text().trimmed();
}
