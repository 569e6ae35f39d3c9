#include "frmDBVariant.h"

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
const QList<GridColumn>& variantColumns()
{
    using F = GridColumn::Format;
    static const QList<GridColumn> columns{
        {QString(), 0, Qt::AlignLeft, F::Text},
        {QStringLiteral("Kode"), 800, Qt::AlignLeft, F::Text},
        {QStringLiteral("Nama"), 2000, Qt::AlignLeft, F::Text},
        {QStringLiteral("Harga/ml"), 900, Qt::AlignRight, F::Whole},
        {QStringLiteral("Stock"), 900, Qt::AlignRight, F::Amount},
        {QString(), 0},
        {QString(), 0},
        {QString(), 0},
        {QString(), 0},
    };
    return columns;
}
} // namespace

frmDBVariant::frmDBVariant(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDBVariant"));
    setWindowTitle(QStringLiteral("Database"));
    DoApplyWindowLook(this);

    fraVariant = new QGroupBox(QStringLiteral("Data Variant"), this);
    fraVariant->setObjectName(QStringLiteral("fraVariant"));
    txtKode =
        RegisterUi::lineEdit(QStringLiteral("txtKode"), QStringLiteral("input"), 12, fraVariant);
    txtNama =
        RegisterUi::lineEdit(QStringLiteral("txtNama"), QStringLiteral("input"), 20, fraVariant);
    txtHargaVariant = new QLineEdit(QStringLiteral("0"), fraVariant);
    txtHargaVariant->setObjectName(QStringLiteral("txtHargaVariant"));
    txtHargaVariant->setProperty("tag", QStringLiteral("input_int"));
    txtHargaVariant->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtHargaVariant->setValidator(new DigitsValidator(12, txtHargaVariant));
    txtKode->setMinimumWidth(110);
    txtNama->setMinimumWidth(190);
    txtHargaVariant->setFixedWidth(110);

    cmdSubmit = RegisterUi::button(QStringLiteral("Submit"), QStringLiteral("cmdSubmit"), this);
    cmdNew = RegisterUi::button(QStringLiteral("New"), QStringLiteral("cmdNew"), this);
    cmdQuit = RegisterUi::button(QStringLiteral("Quit"), QStringLiteral("cmdQuit"), this);
    for (QPushButton* b : {cmdSubmit, cmdNew, cmdQuit})
        b->setMinimumWidth(80);

    dtGridVariants = RegisterUi::grid(QStringLiteral("dtGridVariants"), this);
    rsVariants = new RowSetModel(this);
    setUpGrid(dtGridVariants, rsVariants);
    lblPage_i = new QLabel(this);
    lblPage_i->setObjectName(QStringLiteral("lblPage_i"));

    auto* form = new QGridLayout(fraVariant);
    form->addWidget(new QLabel(QStringLiteral("Kode"), fraVariant), 0, 0);
    form->addWidget(txtKode, 0, 1, Qt::AlignLeft);
    form->addWidget(new QLabel(QStringLiteral("Nama"), fraVariant), 1, 0);
    form->addWidget(txtNama, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Harga/ml"), fraVariant), 2, 0);
    form->addWidget(txtHargaVariant, 2, 1, Qt::AlignLeft);
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
    layout->addWidget(fraVariant);
    layout->addLayout(editorButtons);
    layout->addWidget(dtGridVariants, 1);
    layout->addLayout(bottom);

    setTabOrder(txtKode, txtNama);
    setTabOrder(txtNama, txtHargaVariant);
    setTabOrder(txtHargaVariant, cmdSubmit);
    setTabOrder(cmdSubmit, cmdNew);
    setTabOrder(cmdNew, dtGridVariants);
    setTabOrder(dtGridVariants, cmdNavigasi.at(0));
    for (int i = 0; i < 3; ++i)
        setTabOrder(cmdNavigasi.at(i), cmdNavigasi.at(i + 1));
    setTabOrder(cmdNavigasi.at(3), cmdQuit);

    InputRules rules;
    rules.intKeys = InputRules::NumberKeys::Number;
    rules.intFormat = InputRules::NumberFormat::Whole;
    InputConventions::install(this, rules);
    dtGridVariants->installEventFilter(this);

    connect(txtKode, &QLineEdit::textChanged, this,
            [this](const QString& text) { guardDb([&] { DoGetVariant(text); }); });
    connect(cmdSubmit, &QPushButton::clicked, this, &frmDBVariant::cmdSubmit_Click);
    connect(cmdNew, &QPushButton::clicked, this, &frmDBVariant::cmdNew_Click);
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    for (int i = 0; i < cmdNavigasi.size(); ++i)
        connect(cmdNavigasi.at(i), &QPushButton::clicked, this,
                [this, i] { cmdNavigasi_Click(i); });
    connect(dtGridVariants->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_loading)
                    fillFromRow(current.isValid() ? current.row() : -1);
            });
    // A click on the row the list already stands on fills the editor as well.
    connect(dtGridVariants, &QTableView::clicked, this,
            [this](const QModelIndex& index) { fillFromRow(index.row()); });

    guardDb([this] { restartList(); });
    applyGridColumns(dtGridVariants, variantColumns());
    dtGridVariants->setMinimumWidth(RegisterUi::gridWidthFor(dtGridVariants));
    dtGridVariants->setMinimumHeight(260);
    cmdNew_Click();
}

void frmDBVariant::DoFirstSetNav()
{
    NavRecordCount = RegisterStore::countVariants();
}

void frmDBVariant::DoGetVariants()
{
    const PagePlan plan = planPage(NavCurrentPage, NavPageSize, NavRecordCount, m_shownPage,
                                   rsVariants->rows(), RegisterStore::variantKeys());
    const RowSet rows = RegisterStore::variantPage(plan);
    m_loading = true;
    rsVariants->setRows(rows);
    applyGridColumns(dtGridVariants, variantColumns());
    RegisterUi::standOnFirstRow(dtGridVariants, 1);
    m_loading = false;
    m_shownPage = NavCurrentPage;
    lblPage_i->setText(NavPageLabel());
}

void frmDBVariant::restartList()
{
    NavFirstRecord = 1;
    NavFirstPage = 1;
    DoFirstSetNav();
    DoSetPages();
    DoSetNavButtons(this);
    m_shownPage = 0;
    DoGetVariants();
}

void frmDBVariant::DoGetVariant(const QString& code)
{
    const std::optional<RegisterStore::Variant> found = RegisterStore::findVariant(code);
    if (found) {
        m_editId = found->id;
        txtNama->setText(found->nama);
        txtHargaVariant->setText(Regional::plain(found->harga));
        cmdSubmit->setText(QStringLiteral("Update"));
    } else {
        m_editId.reset();
        txtNama->clear();
        txtHargaVariant->setText(QStringLiteral("0"));
        cmdSubmit->setText(QStringLiteral("Submit"));
    }
}

void frmDBVariant::fillFromRow(int row)
{
    if (row < 0 || row >= rsVariants->rowCount()) {
        if (rsVariants->rowCount() == 0)
            cmdNew_Click();
        return;
    }
    txtKode->setText(rsVariants->value(row, QStringLiteral("variant_kode")).toString());
    txtNama->setText(rsVariants->value(row, QStringLiteral("variant_nama")).toString());
    txtHargaVariant->setText(
        Regional::whole(rsVariants->value(row, QStringLiteral("variant_harga")).toDouble()));
    cmdSubmit->setText(QStringLiteral("Update"));
    m_editId = rsVariants->value(row, QStringLiteral("idvariant")).toInt();
}

void frmDBVariant::cmdNew_Click()
{
    txtKode->clear();
    txtNama->clear();
    txtHargaVariant->setText(QStringLiteral("0"));
    cmdSubmit->setText(QStringLiteral("Submit"));
    m_editId.reset();
    txtKode->setFocus();
}

void frmDBVariant::cmdSubmit_Click()
{
    if (txtKode->text().isEmpty() || txtNama->text().isEmpty()) {
        Prompt::message(QStringLiteral("Tidak ada entri kode atau nama."),
                        RegisterTexts::EntryTitle, Prompt::Icon::Critical);
        txtKode->setFocus();
        return;
    }
    DoSubmitVariant(cmdSubmit->text().toLower());
}

void frmDBVariant::DoSubmitVariant(const QString& mode)
{
    // "update" writes the variant the editor was filled from, which is the one
    // whose code is typed, never merely the row the list stands on.
    const std::optional<int> id = mode == QLatin1String("update") ? m_editId : std::nullopt;
    const bool saved = guardDb([&] {
        RegisterStore::saveVariant(id, txtKode->text(), txtNama->text(),
                                   Regional::read(txtHargaVariant->text()));
        restartList();
    });
    if (saved)
        cmdNew_Click();
}

void frmDBVariant::cmdNavigasi_Click(int index)
{
    DoGoPage(index, this);
    guardDb([this] { DoGetVariants(); });
}

void frmDBVariant::deleteCurrentRow()
{
    const int row = RegisterUi::currentRow(dtGridVariants);
    if (row < 0)
        return;
    const int id = rsVariants->value(row, QStringLiteral("idvariant")).toInt();
    const QString name = rsVariants->value(row, QStringLiteral("variant_nama")).toString();
    bool referenced = false;
    if (!guardDb([&] { referenced = RegisterStore::variantIsReferenced(id); }))
        return;
    if (Prompt::message(RegisterTexts::deleteQuestion(name, referenced), RegisterTexts::DeleteTitle,
                        Prompt::Icon::Question, Prompt::Buttons::YesNo) != Prompt::Answer::Yes)
        return;
    if (!guardDb([&] { RegisterStore::deleteVariant(id); }))
        return;
    guardDb([this] { restartList(); });
    Prompt::message(RegisterTexts::Deleted, RegisterTexts::DeleteTitle, Prompt::Icon::Information);
    cmdNew_Click();
}

bool frmDBVariant::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dtGridVariants && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteCurrentRow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
