#include "frmSearch.h"

#include "core/Globals.h"
#include "sales/SalesStore.h"
#include "sales/frmSearchNext.h"
#include "sales/frmTransaksi.h"
#include "ui/GridColumns.h"
#include "ui/GridFit.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Paging.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>


namespace {

const QString Caption = QStringLiteral("Search Customer");

// What the count of a search may take before it settles for a lower bound.
constexpr int CountBudgetMs = 6;

const QList<GridColumn>& listColumns()
{
    static const QList<GridColumn> columns = {
        {QString(), 0},                          // idcust
        {QStringLiteral("Kode Cust."), 1000},    // cust_nomor
        {QStringLiteral("Nama Cust."), 2500},    // cust_nama
        {QStringLiteral("Alamat Cust"), 5000},   // cust_alamat
        {QString(), 0},                          // cust_notelp
    };
    return columns;
}

bool isEnter(const QKeyEvent* key)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           !(key->modifiers() & ~Qt::KeypadModifier);
}

} // namespace

frmSearch::frmSearch(QWidget* parent, frmTransaksi* sales) : QDialog(parent), m_sales(sales)
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(Caption);
    DoApplyWindowLook(this);
    buildControls();
    cmbSearchBy->addItems(SearchStore::entries());
    cmbSearchBy->setCurrentIndex(-1);

    InputConventions::install(this, InputRules{});
    // Installed after the input conventions, so these see Enter first.
    txtKataKunci->installEventFilter(this);
    dtGridSearch->installEventFilter(this);

    connect(cmdSearch, &QPushButton::clicked, this, [this] { cmdSearch_Click(); });
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    for (int i = 0; i < cmdNavigasi.size(); ++i)
        connect(cmdNavigasi.at(i), &QPushButton::clicked, this,
                [this, i] { cmdNavigasi_Click(i); });

    // Every opening starts with an empty list.
    NavFirstRecord = 1;
    NavFirstPage = 1;
    NavRecordCount = 0;
    DoSetPages();
    DoSetNavButtons(this);
    DoGetList();
    cmbSearchBy->setFocus();
}

void frmSearch::buildControls()
{
    cmbSearchBy = new QComboBox(this);
    cmbSearchBy->setObjectName(QStringLiteral("cmbSearchBy"));
    cmbSearchBy->setProperty("tag", QStringLiteral("input"));
    cmbSearchBy->setMinimumContentsLength(12);
    txtKataKunci = new QLineEdit(this);
    txtKataKunci->setObjectName(QStringLiteral("txtKataKunci"));
    // As long as the longest column searched, the address.
    txtKataKunci->setMaxLength(200);
    txtKataKunci->setMinimumWidth(220);
    cmdSearch = namedButton(this, QStringLiteral("cmdSearch"), QStringLiteral("Search"));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Search by :"), this));
    top->addWidget(cmbSearchBy);
    top->addSpacing(12);
    top->addWidget(new QLabel(QStringLiteral("Kata Kunci :"), this));
    top->addWidget(txtKataKunci, 1);
    top->addWidget(cmdSearch);

    dtGridSearch = new QTableView(this);
    dtGridSearch->setObjectName(QStringLiteral("dtGridSearch"));
    dtGridSearch->setTabKeyNavigation(false);
    m_model = new RowSetModel(dtGridSearch);
    setUpGrid(dtGridSearch, m_model);
    dtGridSearch->setMinimumHeight(260);

    auto* bottom = pageButtonRow(cmdNavigasi, this);
    lblPage_i = pageLabel(this, QStringLiteral("lblPage_i"));
    bottom->addSpacing(8);
    bottom->addWidget(lblPage_i, 1);
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("Quit"), 80);
    bottom->addWidget(cmdQuit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(dtGridSearch, 1);
    layout->addLayout(bottom);

    QList<QWidget*> tabs{cmbSearchBy, txtKataKunci, cmdSearch, dtGridSearch};
    for (QPushButton* b : cmdNavigasi)
        tabs << b;
    tabs << cmdQuit;
    for (int i = 0; i + 1 < tabs.size(); ++i)
        setTabOrder(tabs.at(i), tabs.at(i + 1));

    applyGridColumns(dtGridSearch, listColumns());
    fitColumnsToText(dtGridSearch);
    resize(680, 420);
}

void frmSearch::cmdSearch_Click()
{
    const QString keyword = txtKataKunci->text().trimmed();
    if (keyword.isEmpty())
        return;
    const std::optional<SearchStore::SearchBy> by =
        SearchStore::searchByOf(cmbSearchBy->currentText());
    if (by && keyword.size() < SearchStore::minimumKeyword(*by)) {
        Prompt::message(QStringLiteral("Kata kunci minimal terdiri dari 3 karakter."), Caption,
                        Prompt::Icon::Critical);
        txtKataKunci->setFocus();
        return;
    }
    if (!by) {
        cmbSearchBy->setFocus();
        return;
    }
    const bool shown = guardDb([&] {
        const SearchStore::Search search = SearchStore::prepare(*by, keyword);
        // Counting every match of a common keyword would take longer than the
        // page itself: past the time or the cap the count is a lower bound.
        const SearchStore::Count count =
            SearchStore::countMatches(search, SearchStore::CountCap, CountBudgetMs);
        m_search = search;
        m_countExact = count.exact;
        NavFirstRecord = 1;
        NavFirstPage = 1;
        const int pageSize = std::max(1, ListPageSize);
        NavRecordCount = count.exact ? count.rows
                                     : std::max(pageSize, count.rows / pageSize * pageSize);
        DoSetPages();
        DoSetNavButtons(this);
        m_shownPage = 0;
        DoGetList();
    });
    if (!shown)
        return;
    if (m_model->rowCount() > 0)
        dtGridSearch->setFocus();
    else
        txtKataKunci->selectAll();
}

void frmSearch::cmdNavigasi_Click(int index)
{
    DoGoPage(index, this);
    guardDb([this] { DoGetList(); });
}

void frmSearch::DoGetList()
{
    RowSet rows;
    if (m_search) {
        const PagePlan plan =
            SearchStore::planPage(m_search->by, NavCurrentPage, NavPageSize,
                                  m_countExact ? NavRecordCount : std::numeric_limits<int>::max() / 2,
                                  m_shownPage, m_model->rows());
        rows = SearchStore::readPage(*m_search, plan);
    }
    m_model->setRows(rows);
    applyGridColumns(dtGridSearch, listColumns());
    fitColumnsToText(dtGridSearch);
    m_shownPage = NavCurrentPage;
    // "Page 3 of 100+": there are more matches than the pages that can be reached.
    showPageText(lblPage_i, m_countExact ? NavPageLabel() : NavPageLabel() + QLatin1Char('+'));
    // The list stands on its first match, ready for the arrows, Space and Enter.
    if (m_model->rowCount() > 0)
        dtGridSearch->selectionModel()->setCurrentIndex(
            m_model->index(0, 1), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void frmSearch::showHistory(int row)
{
    SalesStore::Customer customer;
    customer.id = m_model->value(row, QStringLiteral("idcust")).toInt();
    customer.nomor = m_model->value(row, QStringLiteral("cust_nomor")).toString();
    customer.nama = m_model->value(row, QStringLiteral("cust_nama")).toString();
    customer.alamat = m_model->value(row, QStringLiteral("cust_alamat")).toString();
    customer.notelp = m_model->value(row, QStringLiteral("cust_notelp")).toString();
    frmSearchNext history(this);
    history.setCustomer(customer);
    history.exec();
}

void frmSearch::handOver(int row)
{
    // Only a sales window that is open takes the number; otherwise Enter does nothing.
    if (!m_sales || !m_sales->isVisible())
        return;
    if (m_sales->receiveCustomer(m_model->value(row, QStringLiteral("cust_nomor")).toString()))
        accept();
}

bool frmSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // Enter in the keyword searches.
    if (watched == txtKataKunci && isEnter(key)) {
        cmdSearch_Click();
        return true;
    }
    if (watched == dtGridSearch) {
        const QModelIndex current = dtGridSearch->currentIndex();
        const bool space = key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier;
        if (!space && !isEnter(key))
            return QDialog::eventFilter(watched, event);
        if (current.isValid() && current.row() < m_model->rowCount()) {
            if (space)
                showHistory(current.row());
            else
                handOver(current.row());
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
