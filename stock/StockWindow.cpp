#include "StockWindow.h"

#include "core/Globals.h"
#include "core/Regional.h"
#include "ui/GridFit.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Paging.h"
#include "core/Rights.h"
#include "core/Trail.h"
#include "ui/Prompt.h"
#include "ui/Reason.h"
#include "ui/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

const QString AddCaption = QStringLiteral("+");
const QString ReduceCaption = QStringLiteral("-");
const QString EntryTitle = QStringLiteral("Periksa Entri");
const QString ResetTitle = QStringLiteral("Reset Rekaman");
const QString ConfirmTitle = QStringLiteral("Konfirmasi Rekaman");
const QString MissingText = QStringLiteral("Rekaman ini sudah tidak ada.");
// stock_keterangan holds at most this many characters.
constexpr int ReasonLength = 100;

// Widens the number columns whose widest figure does not fit the designed
// width, so no stock or amount is ever clipped. Only the largest and the most
// negative value of a column are formatted and measured.
void fitNumberColumns(QTableView* grid, const RowSetModel* model, const QList<GridColumn>& columns)
{
    const QFontMetrics metrics = grid->fontMetrics();
    const int padding = 2 * grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) +
                        metrics.horizontalAdvance(QLatin1Char('0')) + 4;
    for (int c = 0; c < columns.size() && c < model->columnCount(); ++c) {
        const GridColumn& column = columns.at(c);
        if (column.widthTwips == 0 || column.format == GridColumn::Format::Text)
            continue;
        double high = 0, low = 0;
        for (const QVariantList& row : model->rows().rows) {
            const double v = row.at(c).toDouble();
            high = std::max(high, v);
            low = std::min(low, v);
        }
        int needed = 0;
        for (const double v : {high, low}) {
            const QString text = column.format == GridColumn::Format::Amount ? Regional::amount(v)
                                                                             : Regional::whole(v);
            needed = std::max(needed, metrics.horizontalAdvance(text) + padding);
        }
        if (needed > grid->columnWidth(c))
            grid->setColumnWidth(c, needed);
    }
}

} // namespace

StockWindow::StockWindow(const StockWindowConfig& config, QWidget* parent)
    : QDialog(parent), m_config(config)
{
    setObjectName(m_config.name);
    setWindowTitle(m_config.caption);
    DoApplyWindowLook(this);
    buildControls();

    InputRules rules;
    rules.intKeys =
        m_config.decimals ? InputRules::NumberKeys::Amount : InputRules::NumberKeys::Number;
    rules.intFormat =
        m_config.decimals ? InputRules::NumberFormat::Amount : InputRules::NumberFormat::Whole;
    InputConventions::install(this, rules);
    // Installed after the conventions, so it sees the keys first.
    m_ledger->installEventFilter(this);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_loading)
                    selectItem(current.isValid() ? current.row() : -1);
            });
    connect(m_ledger->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { showReason(); });
    connect(txtOperasi, &QLineEdit::textChanged, this, [this] { recompute(); });
    connect(cmdOperasi, &QPushButton::clicked, this, [this] { cmdOperasi_Click(); });
    connect(cmdSubmit, &QPushButton::clicked, this, [this] { cmdSubmit_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    for (int i = 0; i < cmdNavigasi.size(); ++i)
        connect(cmdNavigasi.at(i), &QPushButton::clicked, this, [this, i] { cmdNavigasi_Click(i); });

    restart();

    // Opens showing the whole list and a page of the ledger; its minimum is
    // smaller, so it fits a small screen, where the two lists scroll instead.
    m_list->setMinimumWidth(gridWidthFor(m_list));
    const QSize preferred = minimumSizeHint();
    m_list->setMinimumSize(std::min(m_list->minimumWidth(), 240), 160);
    m_ledger->setMinimumHeight(m_ledger->verticalHeader()->defaultSectionSize() * 6 +
                               2 * m_ledger->frameWidth() + 4);
    resize(preferred);
}

void StockWindow::buildControls()
{
    m_list = new QTableView(this);
    m_list->setObjectName(m_config.listName);
    m_list->setTabKeyNavigation(false);
    m_listRows = new RowSetModel(this);
    setUpGrid(m_list, m_listRows);
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->setMinimumHeight(320);

    m_ledger = new QTableView(this);
    m_ledger->setObjectName(m_config.ledgerName);
    m_ledger->setTabKeyNavigation(false);
    m_ledgerRows = new RowSetModel(this);
    setUpGrid(m_ledger, m_ledgerRows);
    // A page of the ledger without scrolling, for the usual page sizes.
    const int rowsShown = std::clamp(ListPageSize, 5, 12) + 1;
    m_ledger->setMinimumHeight(m_ledger->verticalHeader()->defaultSectionSize() * rowsShown +
                               2 * m_ledger->frameWidth() + 4);

    // The selected item and the operation on it.
    auto* item = new QGridLayout;
    int line = 0;
    for (const StockWindowConfig::ItemLabel& l : m_config.itemLabels) {
        QLabel* value = valueLabel(this, l.name, Qt::AlignLeft, 140);
        m_itemLabels << value;
        item->addWidget(new QLabel(l.caption, this), line, 0);
        item->addWidget(value, line, 1, 1, 2);
        ++line;
    }
    lblStockAwal_i = valueLabel(this, QStringLiteral("lblStockAwal_i"), Qt::AlignRight, 140);
    item->addWidget(new QLabel(QStringLiteral("Stock Awal :"), this), line, 0);
    item->addWidget(lblStockAwal_i, line, 1, 1, 2);
    ++line;

    lblMililiter = new QLabel(QStringLiteral("Tambah :"), this);
    lblMililiter->setObjectName(QStringLiteral("lblMililiter"));
    cmdOperasi = namedButton(this, QStringLiteral("cmdOperasi"), AddCaption);
    cmdOperasi->setFixedWidth(32);
    txtOperasi = new QLineEdit(QStringLiteral("0"), this);
    txtOperasi->setObjectName(QStringLiteral("txtOperasi"));
    txtOperasi->setProperty("tag", QStringLiteral("input_int"));
    txtOperasi->setAlignment(Qt::AlignRight);
    txtOperasi->setMaxLength(20);
    item->addWidget(lblMililiter, line, 0);
    item->addWidget(cmdOperasi, line, 1);
    item->addWidget(txtOperasi, line, 2);
    ++line;

    lblStockAkhir_i = valueLabel(this, QStringLiteral("lblStockAkhir_i"), Qt::AlignRight, 140);
    QFont strong = lblStockAkhir_i->font();
    strong.setBold(true);
    lblStockAkhir_i->setFont(strong);
    item->addWidget(new QLabel(QStringLiteral("Stock Akhir :"), this), line, 0);
    item->addWidget(lblStockAkhir_i, line, 1, 1, 2);
    ++line;

    cmdSubmit = namedButton(this, QStringLiteral("cmdSubmit"), QStringLiteral("Tambah >>"));
    cmdSubmit->setMinimumWidth(100);
    item->addWidget(cmdSubmit, line, 2, Qt::AlignRight);
    item->setColumnStretch(2, 1);

    // The ledger of the selected item with its pages.
    lblPesan = new QLabel(this);
    lblPesan->setObjectName(QStringLiteral("lblPesan"));
    lblPesan->setFrameShape(QFrame::Panel);
    lblPesan->setFrameShadow(QFrame::Sunken);
    lblPesan->setWordWrap(true);
    lblPesan->setMinimumHeight(lblPesan->fontMetrics().height() * 2 + 8);
    lblPesan->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* nav = pageButtonRow(cmdNavigasi, this);
    m_pageLabel = pageLabel(this, m_config.pageLabelName);
    nav->addSpacing(8);
    nav->addWidget(m_pageLabel, 1);

    auto* right = new QVBoxLayout;
    right->addLayout(item);
    right->addSpacing(6);
    right->addWidget(m_ledger, 1);
    right->addWidget(lblPesan);
    right->addLayout(nav);

    auto* top = new QHBoxLayout;
    top->addWidget(m_list, 3);
    top->addSpacing(8);
    top->addLayout(right, 2);

    cmdReset = namedButton(this, QStringLiteral("cmdReset"), QStringLiteral("Reset"));
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("Quit"));
    cmdReset->setMinimumWidth(80);
    cmdQuit->setMinimumWidth(80);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdReset);
    bottom->addStretch(1);
    bottom->addWidget(cmdQuit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    // From the list to the amount and on to the button that saves; the
    // ledger, its pages and the reset come after.
    const QList<QWidget*> tabs{m_list,           cmdOperasi,         txtOperasi,
                               cmdSubmit,        m_ledger,           cmdNavigasi.at(0),
                               cmdNavigasi.at(1), cmdNavigasi.at(2), cmdNavigasi.at(3),
                               cmdReset,         cmdQuit};
    for (int i = 0; i + 1 < tabs.size(); ++i)
        setTabOrder(tabs.at(i), tabs.at(i + 1));
}

std::optional<qint64> StockWindow::selectedId() const
{
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid() || current.row() >= m_listRows->rowCount())
        return std::nullopt;
    return m_listRows->value(current.row(), m_config.idColumn).toLongLong();
}

QString StockWindow::number(double value) const
{
    // A rounding remainder of double arithmetic is no stock.
    if (std::abs(value) < StockStore::Tolerance)
        value = 0;
    return m_config.decimals ? Regional::amount(value) : Regional::whole(value);
}

bool StockWindow::isReduction() const
{
    return cmdOperasi->text() == ReduceCaption;
}

// ---- Loading ----------------------------------------------------------------

void StockWindow::loadItems()
{
    const RowSet rows = StockStore::items(m_config.item);
    m_loading = true;
    m_listRows->setRows(rows);
    applyGridColumns(m_list, m_config.listColumns);
    fitNumberColumns(m_list, m_listRows, m_config.listColumns);
    // Codes and names are never clipped either.
    fitColumnsToText(m_list);
    m_loading = false;
}

void StockWindow::countLedger(qint64 id)
{
    NavRecordCount = int(std::min<qint64>(StockStore::countLedger(m_config.item, id), INT_MAX));
}

void StockWindow::loadLedger(qint64 id)
{
    StockStore::LedgerPage page;
    page.page = NavCurrentPage;
    page.pageSize = NavPageSize;
    page.recordCount = NavRecordCount;
    const RowSet& shown = m_ledgerRows->rows();
    if (m_shownPage > 0 && m_ledgerItem == id && !shown.isEmpty()) {
        page.shownPage = m_shownPage;
        page.shownFirst = shown.value(0, QStringLiteral("idstock")).toLongLong();
        page.shownLast = shown.value(shown.size() - 1, QStringLiteral("idstock")).toLongLong();
    }
    const RowSet rows =
        id > 0 ? StockStore::ledgerPage(m_config.item, id, page) : StockStore::emptyLedger();
    m_ledgerRows->setRows(rows);
    const QList<GridColumn> columns = ledgerColumns();
    applyGridColumns(m_ledger, columns);
    fitNumberColumns(m_ledger, m_ledgerRows, columns);
    m_ledgerItem = id;
    m_shownPage = NavCurrentPage;
    if (m_ledgerRows->rowCount() > 0)
        m_ledger->selectionModel()->setCurrentIndex(
            m_ledgerRows->index(0, 1),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    showReason();
    showPageText(m_pageLabel, NavPageLabel() + m_config.pageSuffix);
}

QList<GridColumn> StockWindow::ledgerColumns() const
{
    using F = GridColumn::Format;
    const QString none;
    return {
        {none, 0, Qt::AlignLeft, F::Text}, // idstock
        {QStringLiteral("Date"), 1000, Qt::AlignLeft, F::Text},
        {QStringLiteral("Order"), m_config.decimals ? 1000 : 900, Qt::AlignRight,
         m_config.decimals ? F::Amount : F::Whole},
        {QStringLiteral("Author"), 1000, Qt::AlignLeft, F::Text},
        {none, 0, Qt::AlignLeft, F::Text}, // stock_status
        {none, 0, Qt::AlignLeft, F::Text}, // stock_name
        {none, 0, Qt::AlignLeft, F::Text}, // stock_idname
        {none, 0, Qt::AlignLeft, F::Text}, // stock_awal
        {none, 0, Qt::AlignLeft, F::Text}, // stock_akhir
        {none, 0, Qt::AlignLeft, F::Text}, // stock_keterangan
    };
}

void StockWindow::restart()
{
    NavFirstRecord = 1;
    NavFirstPage = 1;
    NavRecordCount = 0;
    const bool loaded = guardDb([this] { loadItems(); });
    DoSetPages();
    DoSetNavButtons(this);
    if (loaded && m_listRows->rowCount() > 0) {
        // Standing on the first row selects it.
        m_list->setCurrentIndex(m_listRows->index(0, 1));
        m_list->setFocus();
    } else {
        selectItem(-1);
    }
}

void StockWindow::selectItem(int row)
{
    const bool found = row >= 0 && row < m_listRows->rowCount();
    for (int i = 0; i < m_itemLabels.size(); ++i)
        m_itemLabels.at(i)->setText(
            found ? m_listRows->value(row, m_config.itemLabels.at(i).column).toString() : QString());
    m_stockAwal = found ? m_listRows->value(row, m_config.stockColumn).toDouble() : 0;
    if (found) {
        // The list may be older than the stock another till has moved since.
        const qint64 itemId = m_listRows->value(row, m_config.idColumn).toLongLong();
        guardDb([&] {
            if (const std::optional<double> stored = StockStore::stockOf(m_config.item, itemId)) {
                m_stockAwal = *stored;
                m_listRows->setValue(row, m_config.stockColumn, *stored);
            }
        });
    }
    lblStockAwal_i->setText(number(m_stockAwal));
    lblStockAkhir_i->setText(number(m_stockAwal));
    cmdReset->setEnabled(found);
    txtOperasi->setText(QStringLiteral("0"));
    recompute();

    const qint64 id = found ? m_listRows->value(row, m_config.idColumn).toLongLong() : 0;
    m_shownPage = 0;
    NavFirstRecord = 1;
    NavFirstPage = 1;
    NavRecordCount = 0;
    const bool counted = !found || guardDb([&] { countLedger(id); });
    DoSetPages();
    DoSetNavButtons(this);
    if (!counted || !guardDb([&] { loadLedger(id); }))
        loadLedger(0);
}

void StockWindow::refreshItem(qint64 id, int row)
{
    guardDb([&] {
        loadItems();
        int target = -1;
        for (int r = 0; r < m_listRows->rowCount(); ++r)
            if (m_listRows->value(r, m_config.idColumn).toLongLong() == id)
                target = r;
        if (target < 0)
            target = std::min(row, m_listRows->rowCount() - 1);
        m_loading = true;
        if (target >= 0)
            m_list->setCurrentIndex(m_listRows->index(target, 1));
        m_loading = false;
        selectItem(target);
    });
}

bool StockWindow::rereadStock()
{
    const std::optional<qint64> id = selectedId();
    if (!id)
        return true;
    std::optional<double> stored;
    if (!guardDb([&] { stored = StockStore::stockOf(m_config.item, *id); }))
        return false;
    if (!stored) {
        // Deleted meanwhile: the list as it is now.
        refreshItem(*id, m_list->currentIndex().row());
        return true;
    }
    if (*stored != m_stockAwal) {
        m_stockAwal = *stored;
        m_listRows->setValue(m_list->currentIndex().row(), m_config.stockColumn, *stored);
        fitNumberColumns(m_list, m_listRows, m_config.listColumns);
        lblStockAwal_i->setText(number(m_stockAwal));
        recompute();
    }
    return true;
}

bool StockWindow::event(QEvent* event)
{
    // After a failed read its message box gives the activation back: that one
    // is not read again, or a lost connection would ask forever.
    if (event->type() == QEvent::WindowActivate && !m_loading && Db::isOpen()) {
        if (m_skipActivation)
            m_skipActivation = false;
        else
            m_skipActivation = !rereadStock();
    }
    return QDialog::event(event);
}

void StockWindow::showReason()
{
    const QModelIndex current = m_ledger->currentIndex();
    lblPesan->setText(current.isValid() && current.row() < m_ledgerRows->rowCount()
                          ? m_ledgerRows->value(current.row(), QStringLiteral("stock_keterangan"))
                                .toString()
                          : QString());
}

void StockWindow::recompute()
{
    if (txtOperasi->text().isEmpty())
        txtOperasi->setText(QStringLiteral("0"));
    const double amount = Regional::read(txtOperasi->text());
    const double akhir = isReduction() ? m_stockAwal - amount : m_stockAwal + amount;
    cmdSubmit->setEnabled(selectedId().has_value() && akhir >= -StockStore::Tolerance);
    lblStockAkhir_i->setText(number(akhir));
}

// ---- Operations -------------------------------------------------------------

void StockWindow::cmdOperasi_Click()
{
    const bool reduce = !isReduction();
    lblMililiter->setText(reduce ? QStringLiteral("Kurang :") : QStringLiteral("Tambah :"));
    cmdSubmit->setText(reduce ? QStringLiteral("Kurang >>") : QStringLiteral("Tambah >>"));
    cmdOperasi->setText(reduce ? ReduceCaption : AddCaption);
    recompute();
}

void StockWindow::cmdSubmit_Click()
{
    if (!selectedId())
        return;
    // A number such as 7.5 is refused with its reason, not read as 75 or 0.
    if (!InputConventions::checkNumbers(this))
        return;
    if (!(Regional::read(txtOperasi->text()) > 0)) {
        txtOperasi->setFocus();
        return;
    }
    // The stored stock decides, not the one read when the item was chosen.
    if (!rereadStock() || !selectedId())
        return;
    const double akhir = m_stockAwal - Regional::read(txtOperasi->text());
    if (isReduction() && akhir < -StockStore::Tolerance) {
        Prompt::message(QStringLiteral("Stock tidak mencukupi. Stock saat ini %1; pengurangan "
                                       "ini akan membuat stock di bawah nol.")
                            .arg(number(m_stockAwal)),
                        EntryTitle, Prompt::Icon::Critical);
        txtOperasi->setFocus();
        return;
    }
    QString reason;
    while (isReduction()) {
        const std::optional<QString> answer =
            Prompt::input(QStringLiteral("Berikan alasan pengurangan!"), ConfirmTitle);
        if (!answer) {
            // Cancelled: no reduction.
            txtOperasi->setFocus();
            return;
        }
        reason = answer->trimmed();
        if (reason.size() > ReasonLength) {
            Prompt::message(QStringLiteral("Alasan terlalu panjang: paling banyak %1 huruf.")
                                .arg(ReasonLength),
                            EntryTitle, Prompt::Icon::Critical);
            continue;
        }
        if (!reason.isEmpty())
            break;
    }
    if (!submitOperation(reason))
        return;
    Prompt::message(m_config.savedText, windowTitle(), Prompt::Icon::Information);
    txtOperasi->setFocus();
}

bool StockWindow::submitOperation(const QString& reason)
{
    const std::optional<qint64> id = selectedId();
    if (!id)
        return false;
    const int row = m_list->currentIndex().row();
    const QString typed = txtOperasi->text();
    const double amount = Regional::read(typed);
    StockStore::Moved moved;
    if (!guardDb([&] {
            moved = StockStore::move(m_config.item, *id, isReduction() ? -amount : amount, reason);
        }))
        return false;
    refreshItem(*id, row);
    switch (moved.outcome) {
    case StockStore::Outcome::Done:
        return true;
    case StockStore::Outcome::BelowZero:
        // The screen was behind the stored stock: show it with the amount
        // still typed, so Stock Akhir tells why.
        txtOperasi->setText(typed);
        Prompt::message(QStringLiteral("Stock tidak mencukupi. Stock saat ini %1; pengurangan "
                                       "ini akan membuat stock di bawah nol.")
                            .arg(number(moved.before)),
                        EntryTitle, Prompt::Icon::Critical);
        txtOperasi->setFocus();
        return false;
    case StockStore::Outcome::Missing:
        Prompt::message(MissingText, EntryTitle, Prompt::Icon::Critical);
        return false;
    }
    return false;
}

void StockWindow::deleteTopEntry()
{
    const std::optional<qint64> id = selectedId();
    if (!id || m_ledgerRows->rowCount() == 0)
        return;
    const QModelIndex current = m_ledger->currentIndex();
    if (!current.isValid() || current.row() != 0)
        return;
    const qint64 idStock = m_ledgerRows->value(0, QStringLiteral("idstock")).toLongLong();

    // A reversal that would take the stored stock below zero is refused, with
    // the stock as stored now on screen.
    const double order = m_ledgerRows->value(0, QStringLiteral("stock_order")).toDouble();
    StockStore::Outcome check = StockStore::Outcome::Done;
    if (!guardDb([&] { check = StockStore::checkDeletion(m_config.item, *id, idStock); }))
        return;
    rereadStock();
    if (check != StockStore::Outcome::Done) {
        refuseDeletion(check, order);
        return;
    }
    if (Prompt::message(QStringLiteral("Yakin akan menghapus rekaman ini?"),
                        m_config.deleteTitle, Prompt::Icon::Question,
                        Prompt::Buttons::YesNo) != Prompt::Answer::Yes)
        return;
    const Rights::Permit permit(Rights::Action::DeleteLedgerRow);
    if (!Reason::allowed(permit, m_config.deleteTitle))
        return;
    const std::optional<QString> reason =
        Reason::ask(QStringLiteral("menghapus rekaman stock"), m_config.deleteTitle);
    if (!reason)
        return;
    const int row = m_list->currentIndex().row();
    StockStore::Outcome outcome = StockStore::Outcome::Done;
    if (!guardDb([&] {
            const Trail::Reason why(*reason);
            outcome = StockStore::deleteEntry(m_config.item, *id, idStock);
        }))
        return;
    refreshItem(*id, row);
    if (outcome != StockStore::Outcome::Done) {
        refuseDeletion(outcome, order);
        return;
    }
    Prompt::message(m_config.deletedText, m_config.deleteTitle, Prompt::Icon::Information);
}

void StockWindow::refuseDeletion(StockStore::Outcome outcome, double order)
{
    if (outcome == StockStore::Outcome::BelowZero)
        Prompt::message(QStringLiteral("Rekaman ini tidak dapat dihapus: stock saat ini %1, dan "
                                       "membatalkan %2 %3 akan membuat stock di bawah nol.")
                            .arg(number(m_stockAwal),
                                 order > 0 ? QStringLiteral("penambahan")
                                           : QStringLiteral("pengurangan"),
                                 number(std::abs(order))),
                        m_config.deleteTitle, Prompt::Icon::Exclamation);
    else
        Prompt::message(MissingText, EntryTitle, Prompt::Icon::Critical);
}

void StockWindow::cmdReset_Click()
{
    const std::optional<qint64> id = selectedId();
    if (!id)
        return;
    Prompt::message(QStringLiteral("Peringatan!\n\nRekaman stock akan direset menjadi nol.\n"
                                   "Anda tidak akan bisa mengembalikannya lagi \nke stock semula."
                                   "\n\nNamun penormalan ini tidak akan mengganggu\n"
                                   "rekaman yang lain."),
                    ResetTitle, Prompt::Icon::Exclamation);
    if (Prompt::message(QStringLiteral("Anda yakin ingin menormalkan stock ke nol?"), ResetTitle,
                        Prompt::Icon::Question, Prompt::Buttons::YesNo) != Prompt::Answer::Yes)
        return;
    const Rights::Permit permit(Rights::Action::ResetStock);
    if (!Reason::allowed(permit, ResetTitle))
        return;
    const std::optional<QString> reason = Reason::ask(QStringLiteral("me-reset stock"), ResetTitle);
    if (!reason)
        return;
    const int row = m_list->currentIndex().row();
    StockStore::Outcome outcome = StockStore::Outcome::Done;
    if (!guardDb([&] {
            const Trail::Reason why(*reason);
            outcome = StockStore::reset(m_config.item, *id);
        }))
        return;
    refreshItem(*id, row);
    if (outcome == StockStore::Outcome::Done)
        Prompt::message(QStringLiteral("Data dinormalkan!"), ConfirmTitle,
                        Prompt::Icon::Information);
    else
        Prompt::message(MissingText, EntryTitle, Prompt::Icon::Critical);
    txtOperasi->setFocus();
}

void StockWindow::cmdNavigasi_Click(int index)
{
    DoGoPage(index, this);
    const std::optional<qint64> id = selectedId();
    guardDb([&] { loadLedger(id.value_or(0)); });
}

bool StockWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ledger && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteTopEntry();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
