#include "frmStockC.h"

namespace {

StockWindowConfig concentrate()
{
    using F = GridColumn::Format;
    StockWindowConfig c;
    c.item = StockStore::Item::Variant;
    c.name = QStringLiteral("frmStockC");
    c.caption = QStringLiteral("Stock Concentrate");
    c.listName = QStringLiteral("dtGridVariants");
    c.listColumns = {
        {QString(), 0, Qt::AlignLeft, F::Text}, // idvariant
        {QStringLiteral("Kode"), 800, Qt::AlignLeft, F::Text},
        {QStringLiteral("Nama"), 2000, Qt::AlignLeft, F::Text},
        {QStringLiteral("Harga/ml"), 900, Qt::AlignRight, F::Whole},
        {QStringLiteral("Stock"), 900, Qt::AlignRight, F::Amount},
    };
    c.idColumn = QStringLiteral("idvariant");
    c.stockColumn = QStringLiteral("variant_stock");
    c.itemLabels = {
        {QStringLiteral("Kode :"), QStringLiteral("lblKode_i"), QStringLiteral("variant_kode")},
        {QStringLiteral("Nama :"), QStringLiteral("lblNamaVariant_i"),
         QStringLiteral("variant_nama")},
    };
    c.ledgerName = QStringLiteral("dtGridVariant");
    c.pageLabelName = QStringLiteral("lblPage");
    c.pageSuffix = QStringLiteral(": Stock Concentrate");
    c.decimals = true;
    c.savedText = QStringLiteral("Data disimpan!");
    c.deleteTitle = QStringLiteral("Hapus Record");
    c.deletedText = QStringLiteral("Record telah dihapus!");
    return c;
}

} // namespace

frmStockC::frmStockC(QWidget* parent) : StockWindow(concentrate(), parent) {}
