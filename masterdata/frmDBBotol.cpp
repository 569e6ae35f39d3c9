#include "frmDBBotol.h"

#include "core/Regional.h"
#include "masterdata/RegisterStore.h"
#include "masterdata/RegisterTexts.h"
#include "masterdata/RegisterUi.h"
#include "ui/GridColumns.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Paging.h"
#include "ui/Prompt.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QList<GridColumn>& botolColumns()
{
    using F = GridColumn::Format;
    static const QList<GridColumn> columns{
        {QString(), 0, Qt::AlignLeft, F::Text},
        {QStringLiteral("Tipe Botol"), 1500, Qt::AlignLeft, F::Text},
        {QStringLiteral("Harga"), 900, Qt::AlignRight, F::Whole},
        {QStringLiteral("Stock"), 900, Qt::AlignRight, F::Whole},
        {QString(), 0},
        {QString(), 0},
        {QString(), 0},
        {QString(), 0},
    };
    return columns;
}
// A type nothing refers to is asked about and confirmed under this title.
const QString PlainDeleteTitle = QStringLiteral("Hapus Record");
} // namespace

frmDBBotol::frmDBBotol(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDBBotol"));
    setWindowTitle(QStringLiteral("Database"));
    DoApplyWindowLook(this);

    fraBotol = new QGroupBox(QStringLiteral("Data Botol"), this);
    fraBotol->setObjectName(QStringLiteral("fraBotol"));
    txtTipeBotol =
        RegisterUi::lineEdit(QStringLiteral("txtTipeBotol"), QStringLiteral("input"), 12, fraBotol);
    txtHargaBotol = new QLineEdit(QStringLiteral("0"), fraBotol);
    txtHargaBotol->setObjectName(QStringLiteral("txtHargaBotol"));
    txtHargaBotol->setProperty("tag", QStringLiteral("input_int"));
    txtHargaBotol->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtHargaBotol->setValidator(new DigitsValidator(12, txtHargaBotol));
    txtTipeBotol->setFixedWidth(130);
    txtHargaBotol->setFixedWidth(130);

    cmdSubmit = RegisterUi::button(QStringLiteral("Submit"), QStringLiteral("cmdSubmit"), this);
    cmdNew = RegisterUi::button(QStringLiteral("New"), QStringLiteral("cmdNew"), this);
    cmdQuit = RegisterUi::button(QStringLiteral("Quit"), QStringLiteral("cmdQuit"), this);
    for (QPushButton* b : {cmdSubmit, cmdNew, cmdQuit})
        b->setMinimumWidth(80);

    dtGridBotols = RegisterUi::grid(QStringLiteral("dtGridBotols"), this);
    rsBotols = new RowSetModel(this);
    setUpGrid(dtGridBotols, rsBotols);
    lblPage_i = new QLabel(this);
    lblPage_i->setObjectName(QStringLiteral("lblPage_i"));

    auto* form = new QGridLayout(fraBotol);
    form->addWidget(new QLabel(QStringLiteral("Tipe"), fraBotol), 0, 0);
    form->addWidget(txtTipeBotol, 0, 1, Qt::AlignLeft);
    form->addWidget(new QLabel(QStringLiteral("Harga"), fraBotol), 1, 0);
    form->addWidget(txtHargaBotol, 1, 1, Qt::AlignLeft);
    form->setColumnStretch(1, 1);

    auto* editorButtons = new QHBoxLayout;
    editorButtons->addStretch(1);
    editorButtons->addWidget(cmdSubmit);
    editorButtons->addWidget(cmdNew);

    auto* bottom = RegisterUi::navigationRow(cmdNavigasi, this);
    bottom->addSpacing(8);
    bottom->addWidget(lblPage_i, 1);
    bottom->addWidget(cmdQuit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraBotol);
    layout->addLayout(editorButtons);
    layout->addWidget(dtGridBotols, 1);
    layout->addLayout(bottom);

    setTabOrder(txtTipeBotol, txtHargaBotol);
    setTabOrder(txtHargaBotol, cmdSubmit);
    setTabOrder(cmdSubmit, cmdNew);
    setTabOrder(cmdNew, dtGridBotols);
    setTabOrder(dtGridBotols, cmdNavigasi.at(0));
    for (int i = 0; i < 3; ++i)
        setTabOrder(cmdNavigasi.at(i), cmdNavigasi.at(i + 1));
    setTabOrder(cmdNavigasi.at(3), cmdQuit);

    InputRules rules;
    rules.intKeys = InputRules::NumberKeys::Number;
    rules.intFormat = InputRules::NumberFormat::Whole;
    InputConventions::install(this, rules);
    dtGridBotols->installEventFilter(this);

    connect(txtTipeBotol, &QLineEdit::textChanged, this,
            [this](const QString& text) { guardDb([&] { DoGetBotol(text); }); });
    connect(cmdSubmit, &QPushButton::clicked, this, &frmDBBotol::cmdSubmit_Click);
    connect(cmdNew, &QPushButton::clicked, this, &frmDBBotol::cmdNew_Click);
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    for (int i = 0; i < cmdNavigasi.size(); ++i)
        connect(cmdNavigasi.at(i), &QPushButton::clicked, this,
                [this, i] { cmdNavigasi_Click(i); });
    connect(dtGridBotols->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_loading)
                    fillFromRow(current.isValid() ? current.row() : -1);
            });
    connect(dtGridBotols, &QTableView::clicked, this,
            [this](const QModelIndex& index) { fillFromRow(index.row()); });

    guardDb([this] { restartList(); });
    applyGridColumns(dtGridBotols, botolColumns());
    dtGridBotols->setMinimumWidth(RegisterUi::gridWidthFor(dtGridBotols));
    dtGridBotols->setMinimumHeight(260);
    cmdNew_Click();
}

void frmDBBotol::DoFirstSetNav()
{
    NavRecordCount = RegisterStore::countBotols();
}

void frmDBBotol::DoGetBotols()
{
    const PagePlan plan = planPage(NavCurrentPage, NavPageSize, NavRecordCount, m_shownPage,
                                   rsBotols->rows(), RegisterStore::botolKeys());
    const RowSet rows = RegisterStore::botolPage(plan);
    m_loading = true;
    rsBotols->setRows(rows);
    applyGridColumns(dtGridBotols, botolColumns());
    RegisterUi::standOnFirstRow(dtGridBotols, 1);
    m_loading = false;
    m_shownPage = NavCurrentPage;
    lblPage_i->setText(NavPageLabel());
}

void frmDBBotol::restartList()
{
    NavFirstRecord = 1;
    NavFirstPage = 1;
    DoFirstSetNav();
    DoSetPages();
    DoSetNavButtons(this);
    m_shownPage = 0;
    DoGetBotols();
}

void frmDBBotol::DoGetBotol(const QString& type)
{
    const std::optional<RegisterStore::Botol> found = RegisterStore::findBotol(type);
    if (found) {
        m_editId = found->id;
        txtHargaBotol->setText(Regional::plain(found->harga));
        cmdSubmit->setText(QStringLiteral("Update"));
    } else {
        m_editId.reset();
        txtHargaBotol->setText(QStringLiteral("0"));
        cmdSubmit->setText(QStringLiteral("Submit"));
    }
}

void frmDBBotol::fillFromRow(int row)
{
    if (row < 0 || row >= rsBotols->rowCount()) {
        if (rsBotols->rowCount() == 0)
            cmdNew_Click();
        return;
    }
    txtTipeBotol->setText(rsBotols->value(row, QStringLiteral("botol_tipe")).toString());
    txtHargaBotol->setText(
        Regional::whole(rsBotols->value(row, QStringLiteral("botol_harga")).toDouble()));
    cmdSubmit->setText(QStringLiteral("Update"));
    m_editId = rsBotols->value(row, QStringLiteral("idbotol")).toInt();
}

void frmDBBotol::cmdNew_Click()
{
    txtTipeBotol->clear();
    txtHargaBotol->setText(QStringLiteral("0"));
    cmdSubmit->setText(QStringLiteral("Submit"));
    m_editId.reset();
    txtTipeBotol->setFocus();
}

void frmDBBotol::cmdSubmit_Click()
{
    if (txtTipeBotol->text().isEmpty()) {
        Prompt::message(QStringLiteral("Tidak ada entri Tipe Botol"), RegisterTexts::EntryTitle,
                        Prompt::Icon::Critical);
        txtTipeBotol->setFocus();
        return;
    }
    DoSubmitBotol(cmdSubmit->text().toLower());
}

void frmDBBotol::DoSubmitBotol(const QString& mode)
{
    // "update" writes the type the editor was filled from: the one whose name
    // is typed, never merely the row the list stands on.
    const std::optional<int> id = mode == QLatin1String("update") ? m_editId : std::nullopt;
    const bool saved = guardDb([&] {
        RegisterStore::saveBotol(id, txtTipeBotol->text(), Regional::read(txtHargaBotol->text()));
        restartList();
    });
    if (saved)
        cmdNew_Click();
}

void frmDBBotol::cmdNavigasi_Click(int index)
{
    DoGoPage(index, this);
    guardDb([this] { DoGetBotols(); });
}

void frmDBBotol::deleteCurrentRow()
{
    const int row = RegisterUi::currentRow(dtGridBotols);
    if (row < 0)
        return;
    const int id = rsBotols->value(row, QStringLiteral("idbotol")).toInt();
    const QString type = rsBotols->value(row, QStringLiteral("botol_tipe")).toString();
    bool referenced = false;
    if (!guardDb([&] { referenced = RegisterStore::botolIsReferenced(id); }))
        return;
    const QString title = referenced ? RegisterTexts::DeleteTitle : PlainDeleteTitle;
    if (Prompt::message(RegisterTexts::deleteQuestion(type, referenced), title,
                        Prompt::Icon::Question, Prompt::Buttons::YesNo) != Prompt::Answer::Yes)
        return;
    if (!guardDb([&] { RegisterStore::deleteBotol(id); }))
        return;
    guardDb([this] { restartList(); });
    Prompt::message(RegisterTexts::Deleted, title, Prompt::Icon::Information);
    cmdNew_Click();
}

bool frmDBBotol::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dtGridBotols && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteCurrentRow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
