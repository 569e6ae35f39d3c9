#include "RegisterWindow.h"

#include "masterdata/RegisterTexts.h"
#include "ui/GridFit.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Paging.h"
#include "core/Rights.h"
#include "core/Trail.h"
#include "ui/Prompt.h"
#include "ui/Reason.h"
#include "ui/Widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Makes the first row current, as a freshly loaded list stands on its first
// row. The window ignores the row change this reports.
void standOnFirstRow(QTableView* grid, int firstVisibleColumn)
{
    QItemSelectionModel* selection = grid->selectionModel();
    if (!selection || grid->model()->rowCount() == 0)
        return;
    selection->setCurrentIndex(grid->model()->index(0, firstVisibleColumn),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// The row the grid stands on, or -1 when it holds none.
int currentRow(const QTableView* grid)
{
    if (!grid->model() || grid->model()->rowCount() == 0)
        return -1;
    const QModelIndex current = grid->currentIndex();
    return current.isValid() ? current.row() : 0;
}

} // namespace

RegisterWindow::RegisterWindow(const QString& name, const RegisterList& list, QWidget* parent)
    : QDialog(parent), m_list(list)
{
    setObjectName(name);
    setWindowTitle(QStringLiteral("Database"));
    DoApplyWindowLook(this);

    // The till's keys: Alt+S / Alt+U saves, Alt+N starts a new row, and Ctrl+S saves too.
    cmdSubmit = namedButton(this, QStringLiteral("cmdSubmit"), QStringLiteral("&Submit"), 80);
    cmdNew = namedButton(this, QStringLiteral("cmdNew"), QStringLiteral("&New"), 80);
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("Quit"), 80);

    m_grid = new QTableView(this);
    m_grid->setObjectName(m_list.gridName);
    m_grid->setTabKeyNavigation(false);
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_rows = new RowSetModel(this);
    setUpGrid(m_grid, m_rows);
    lblPage_i = pageLabel(this, QStringLiteral("lblPage_i"));
}

void RegisterWindow::assemble(QGroupBox* editor, const QList<QWidget*>& inputs,
                              const InputRules& rules, QLayout* aboveList)
{
    m_keyBox = inputs.first();

    auto* editorButtons = new QHBoxLayout;
    editorButtons->addStretch(1);
    editorButtons->addWidget(cmdSubmit);
    editorButtons->addWidget(cmdNew);

    auto* bottom = pageButtonRow(cmdNavigasi, this);
    bottom->addSpacing(8);
    bottom->addWidget(lblPage_i, 1);
    bottom->addSpacing(12);
    bottom->addWidget(cmdQuit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor);
    layout->addLayout(editorButtons);
    if (aboveList)
        layout->addLayout(aboveList);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    QList<QWidget*> tabs = inputs;
    tabs << cmdSubmit << cmdNew << m_grid;
    for (QPushButton* b : cmdNavigasi)
        tabs << b;
    tabs << cmdQuit;
    for (int i = 0; i + 1 < tabs.size(); ++i)
        setTabOrder(tabs.at(i), tabs.at(i + 1));

    InputConventions::install(this, rules);
    m_grid->installEventFilter(this);

    connect(cmdSubmit, &QPushButton::clicked, this, &RegisterWindow::cmdSubmit_Click);
    connect(cmdNew, &QPushButton::clicked, this, &RegisterWindow::cmdNew_Click);
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, [this] {
        if (cmdSubmit->isEnabled())
            cmdSubmit->click();
    });
    for (int i = 0; i < cmdNavigasi.size(); ++i)
        connect(cmdNavigasi.at(i), &QPushButton::clicked, this,
                [this, i] { cmdNavigasi_Click(i); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_loading)
                    fillFromRow(current.isValid() ? current.row() : -1);
            });
    // A click on the row the list already stands on fills the editor as well.
    connect(m_grid, &QTableView::clicked, this,
            [this](const QModelIndex& index) { fillFromRow(index.row()); });

    guardDb([this] { restartList(); });
    applyGridColumns(m_grid, m_list.columns);
    fitColumns();
    // Opens with the whole list in view; its minimum is smaller, so it fits a
    // small screen, where the list scrolls instead.
    m_grid->setMinimumWidth(gridWidthFor(m_grid));
    m_grid->setMinimumHeight(260);
    const QSize preferred = minimumSizeHint();
    m_grid->setMinimumSize(std::min(m_grid->minimumWidth(), 300), 140);
    resize(preferred);
    cmdNew_Click();
}

QString RegisterWindow::deleteTitle(bool) const
{
    return RegisterTexts::DeleteTitle;
}

QString RegisterWindow::pageCaption() const
{
    return NavPageLabel();
}

void RegisterWindow::restartList()
{
    NavFirstRecord = 1;
    NavFirstPage = 1;
    DoFirstSetNav();
    DoSetPages();
    DoSetNavButtons(this);
    m_shownPage = 0;
    showPage();
}

void RegisterWindow::showPage()
{
    const PagePlan plan = planPage(NavCurrentPage, NavPageSize, NavRecordCount, m_shownPage,
                                   m_rows->rows(), m_list.keys);
    const RowSet rows = readPage(plan);
    m_loading = true;
    // A page of the same columns keeps the grid's columns as they are; only a
    // new shape of rows needs the designed columns again.
    if (m_rows->replaceRows(rows))
        applyGridColumns(m_grid, m_list.columns);
    fitColumns();
    standOnFirstRow(m_grid, 1);
    m_loading = false;
    m_shownPage = NavCurrentPage;
    showPageText(lblPage_i, pageCaption());
}

void RegisterWindow::cmdNew_Click()
{
    clearEditor();
    setEditing(std::nullopt);
    m_keyBox->setFocus();
}

void RegisterWindow::setEditing(std::optional<int> id)
{
    m_editId = id;
    cmdSubmit->setText(id ? QStringLiteral("&Update") : QStringLiteral("&Submit"));
}

void RegisterWindow::submit(const QString& mode,
                            const std::function<RegisterStore::Saved(std::optional<int>)>& save)
{
    // "update" writes the row the editor was filled from, which is the one
    // whose key is typed, never merely the row the list stands on.
    const std::optional<int> id = mode == QLatin1String("update") ? m_editId : std::nullopt;
    if (!InputConventions::checkNumbers(this))
        return;
    RegisterStore::Saved saved;
    if (!guardDb([&] { saved = save(id); }))
        return;
    switch (saved.outcome) {
    case RegisterStore::Outcome::Done:
        break;
    case RegisterStore::Outcome::Duplicate:
        Prompt::message(RegisterTexts::duplicateKey(m_list.keyCaption, typedKey()),
                        RegisterTexts::EntryTitle, Prompt::Icon::Critical);
        m_keyBox->setFocus();
        return;
    case RegisterStore::Outcome::Missing:
        // Deleted from another till since it was chosen: the typing stays, and
        // saved once more it becomes a new row.
        Prompt::message(RegisterTexts::Missing, RegisterTexts::EntryTitle,
                        Prompt::Icon::Critical);
        setEditing(std::nullopt);
        guardDb([this] { restartList(); });
        m_keyBox->setFocus();
        return;
    }
    const std::optional<QString> refreshFailure = refreshAfterChange();
    cmdNew_Click();
    reportRefreshFailure(refreshFailure);
}

std::optional<QString> RegisterWindow::refreshAfterChange()
{
    try {
        restartList();
        return std::nullopt;
    } catch (const DbError& e) {
        return e.text();
    }
}

void RegisterWindow::reportRefreshFailure(const std::optional<QString>& reason)
{
    if (reason)
        Prompt::message(RegisterTexts::listNotRefreshed(*reason), windowTitle(),
                        Prompt::Icon::Exclamation);
}

void RegisterWindow::fitColumns()
{
    if (m_columnWidths.size() < m_list.columns.size())
        m_columnWidths.resize(m_list.columns.size(), 0);
    QHeaderView* header = m_grid->horizontalHeader();
    const QAbstractItemView* view = m_grid; // measures the cells as the delegate shows them
    const int columns = std::min<int>(int(m_list.columns.size()), m_rows->columnCount());
    for (int c = 0; c < columns; ++c) {
        if (m_grid->isColumnHidden(c))
            continue;
        // The designed width at least; wider where the caption or a value on
        // show (as formatted) needs it.
        int width = std::max(m_grid->columnWidth(c), m_columnWidths.at(c));
        // The caption is measured once: it does not change from page to page.
        if (m_columnWidths.at(c) == 0)
            width = std::max(width, header->sectionSizeHint(c));
        width = std::max(width, view->sizeHintForColumn(c));
        m_columnWidths[c] = width;
        if (width != m_grid->columnWidth(c))
            m_grid->setColumnWidth(c, width);
    }
    // The window keeps its size while paging: a wider page scrolls sideways
    // rather than growing the window (and repainting all of it) on each click.
}

void RegisterWindow::cmdNavigasi_Click(int index)
{
    DoGoPage(index, this);
    guardDb([this] { showPage(); });
}

void RegisterWindow::fillFromRow(int row)
{
    if (row < 0 || row >= m_rows->rowCount()) {
        if (m_rows->rowCount() == 0)
            cmdNew_Click();
        return;
    }
    fillEditor(row);
    setEditing(m_rows->value(row, m_list.idColumn).toInt());
}

void RegisterWindow::deleteCurrentRow()
{
    const int row = currentRow(m_grid);
    if (row < 0)
        return;
    const int id = m_rows->value(row, m_list.idColumn).toInt();
    const QString name = m_rows->value(row, m_list.nameColumn).toString();
    bool referenced = false;
    if (!guardDb([&] { referenced = isReferenced(id); }))
        return;
    const QString title = deleteTitle(referenced);
    if (Prompt::message(RegisterTexts::deleteQuestion(name, referenced), title,
                        Prompt::Icon::Question, Prompt::Buttons::YesNo) != Prompt::Answer::Yes)
        return;
    const Rights::Permit permit(Rights::Action::DeleteRegister);
    if (!Reason::allowed(permit, title))
        return;
    const std::optional<QString> reason =
        Reason::ask(QStringLiteral("menghapus '%1'").arg(name), title);
    if (!reason)
        return;
    RegisterStore::Outcome outcome = RegisterStore::Outcome::Done;
    if (!guardDb([&] {
            const Trail::Reason why(*reason);
            outcome = deleteRow(id);
        }))
        return;
    const std::optional<QString> refreshFailure = refreshAfterChange();
    if (outcome == RegisterStore::Outcome::Missing)
        Prompt::message(RegisterTexts::Missing, title, Prompt::Icon::Exclamation);
    else
        Prompt::message(RegisterTexts::Deleted, title, Prompt::Icon::Information);
    cmdNew_Click();
    reportRefreshFailure(refreshFailure);
}

bool RegisterWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteCurrentRow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void RegisterWindow::fitWidth(QLineEdit* box, const QString& widest, int atLeast)
{
    // The text, the box's own margins (two pixels a side), its text and
    // contents margins, its frame and the cursor.
    const QMargins text = box->textMargins();
    const QMargins contents = box->contentsMargins();
    const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
    const int width = box->fontMetrics().horizontalAdvance(widest) + 4 + text.left() +
                      text.right() + contents.left() + contents.right() + 2 * frame + 2;
    box->setFixedWidth(std::max(width, atLeast));
}

QLineEdit* RegisterWindow::priceEdit(const QString& name, QWidget* parent)
{
    auto* e = new QLineEdit(QStringLiteral("0"), parent);
    e->setObjectName(name);
    e->setProperty("tag", QStringLiteral("input_int"));
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* digits = new DigitsValidator(12, e);
    // What the field says beside itself when a thirteenth digit is typed.
    digits->setProperty("refusal", QStringLiteral("Isian ini paling banyak 12 angka."));
    e->setValidator(digits);
    fitWidth(e, QStringLiteral("999.999.999.999"), 110);
    return e;
}

InputRules RegisterWindow::priceRules()
{
    InputRules rules;
    rules.intKeys = InputRules::NumberKeys::Number;
    rules.intFormat = InputRules::NumberFormat::Whole;
    return rules;
}

void RegisterWindow::addCostFields(QGridLayout* form, int row, QLineEdit* pokok,
                                   const QString& pokokCaption, QLineEdit* minimum,
                                   const QString& minimumCaption)
{
    QWidget* frame = pokok->parentWidget();
    auto* lblPokok = new QLabel(pokokCaption, frame);
    auto* lblMinimum = new QLabel(minimumCaption, frame);
    lblPokok->setBuddy(pokok);
    lblMinimum->setBuddy(minimum);
    form->addWidget(lblPokok, row, 0);
    form->addWidget(pokok, row, 1, Qt::AlignLeft);
    form->addWidget(lblMinimum, row + 1, 0);
    form->addWidget(minimum, row + 1, 1, Qt::AlignLeft);
    const bool costs = Rights::may(Rights::Action::SeeCost);
    for (QWidget* w : {static_cast<QWidget*>(lblPokok), static_cast<QWidget*>(lblMinimum),
                       static_cast<QWidget*>(pokok), static_cast<QWidget*>(minimum)})
        w->setVisible(costs);
    for (QLineEdit* e : {pokok, minimum})
        e->setFocusPolicy(Qt::ClickFocus);
}
