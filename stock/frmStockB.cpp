#include "frmStockB.h"

namespace {

StockWindowConfig bottles()
{
    using F = GridColumn::Format;
    StockWindowConfig c;
    c.item = StockStore::Item::Botol;
    c.name = QStringLiteral("frmStockB");
    c.caption = QStringLiteral("Stock Botol");
    c.listName = QStringLiteral("dtGridBotols");
    c.listColumns = {
        {QString(), 0, Qt::AlignLeft, F::Text}, // idbotol
        {QStringLiteral("Tipe Botol"), 1500, Qt::AlignLeft, F::Text},
        {QStringLiteral("Harga"), 900, Qt::AlignRight, F::Whole},
        {QStringLiteral("Stock"), 900, Qt::AlignRight, F::Whole},
    };
    c.idColumn = QStringLiteral("idbotol");
    c.stockColumn = QStringLiteral("botol_stock");
    c.itemLabels = {
        {QStringLiteral("Tipe Botol :"), QStringLiteral("lblTipe_i"), QStringLiteral("botol_tipe")},
    };
    c.ledgerName = QStringLiteral("dtGridBotol");
    c.pageLabelName = QStringLiteral("lblPage_i");
    c.pageSuffix = QStringLiteral(": Stock Botol");
    c.decimals = false;
    c.savedText = QStringLiteral("Data direkam!");
    c.deleteTitle = QStringLiteral("Hapus Rekaman");
    c.deletedText = QStringLiteral("Rekaman telah dihapus!");
    return c;
}

} // namespace

frmStockB::frmStockB(QWidget* parent) : StockWindow(bottles(), parent) {}
