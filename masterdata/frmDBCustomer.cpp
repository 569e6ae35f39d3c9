#include "frmDBCustomer.h"

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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QList<GridColumn>& customerColumns()
{
    static const QList<GridColumn> columns{
        {QString(), 0},
        {QStringLiteral("Kode"), 800},
        {QStringLiteral("Nama"), 1600},
        {QStringLiteral("Alamat"), 2600},
        {QStringLiteral("No.Telp"), 1300},
        {QString(), 0},
        {QString(), 0},
    };
    return columns;
}
constexpr int AddressLength = 200;
constexpr int LetterCount = 27;
} // namespace

frmDBCustomer::frmDBCustomer(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDBCustomer"));
    setWindowTitle(QStringLiteral("Database"));
    DoApplyWindowLook(this);

    fraCustomer = new QGroupBox(QStringLiteral("Data Customer"), this);
    fraCustomer->setObjectName(QStringLiteral("fraCustomer"));
    txtNoCust =
        RegisterUi::lineEdit(QStringLiteral("txtNoCust"), QStringLiteral("input"), 12, fraCustomer);
    txtNama = RegisterUi::lineEdit(QStringLiteral("txtNama"), QStringLiteral("input_str"), 25,
                                   fraCustomer);
    txtAlamat = new QPlainTextEdit(fraCustomer);
    txtAlamat->setObjectName(QStringLiteral("txtAlamat"));
    txtAlamat->setProperty("tag", QStringLiteral("input"));
    txtAlamat->setTabChangesFocus(true);
    txtAlamat->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtAlamat->setFixedHeight(txtAlamat->fontMetrics().lineSpacing() * 3 + 12);
    {
        QPalette pal = txtAlamat->palette();
        pal.setColor(QPalette::Base, InputConventions::editableColor());
        txtAlamat->setPalette(pal);
    }
    txtNoTelp = RegisterUi::lineEdit(QStringLiteral("txtNoTelp"), QStringLiteral("input_int"), 15,
                                     fraCustomer);
    txtNoCust->setFixedWidth(110);
    txtNama->setFixedWidth(200);
    txtNoTelp->setFixedWidth(130);

    cmdSubmit = RegisterUi::button(QStringLiteral("Submit"), QStringLiteral("cmdSubmit"), this);
    cmdNew = RegisterUi::button(QStringLiteral("New"), QStringLiteral("cmdNew"), this);
    cmdQuit = RegisterUi::button(QStringLiteral("Quit"), QStringLiteral("cmdQuit"), this);
    for (QPushButton* b : {cmdSubmit, cmdNew, cmdQuit})
        b->setMinimumWidth(80);

    auto* letters = new QHBoxLayout;
    letters->setSpacing(0);
    QFont letterFont = font();
    letterFont.setBold(true);
    for (int i = 0; i < LetterCount; ++i) {
        const QString caption = i < 26 ? QString(QChar('A' + i)) : QStringLiteral("...");
        auto* label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("lblAbjad_%1").arg(i));
        label->setFont(letterFont);
        label->setAlignment(Qt::AlignCenter);
        label->setCursor(Qt::PointingHandCursor);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("W")) + 4);
        label->installEventFilter(this);
        lblAbjad << label;
        letters->addWidget(label, 1);
    }

    dtGridCustomers = RegisterUi::grid(QStringLiteral("dtGridCustomers"), this);
    rsCustomers = new RowSetModel(this);
    setUpGrid(dtGridCustomers, rsCustomers);
    lblPage_i = new QLabel(this);
    lblPage_i->setObjectName(QStringLiteral("lblPage_i"));

    auto* form = new QGridLayout(fraCustomer);
    form->addWidget(new QLabel(QStringLiteral("Kode :"), fraCustomer), 0, 0);
    form->addWidget(txtNoCust, 0, 1, Qt::AlignLeft);
    form->addWidget(new QLabel(QStringLiteral("Nama :"), fraCustomer), 1, 0);
    form->addWidget(txtNama, 1, 1, Qt::AlignLeft);
    form->addWidget(new QLabel(QStringLiteral("Alamat :"), fraCustomer), 2, 0, Qt::AlignTop);
    form->addWidget(txtAlamat, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("No. Telp :"), fraCustomer), 3, 0);
    form->addWidget(txtNoTelp, 3, 1, Qt::AlignLeft);
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
    layout->addWidget(fraCustomer);
    layout->addLayout(editorButtons);
    layout->addLayout(letters);
    layout->addWidget(dtGridCustomers, 1);
    layout->addLayout(bottom);

    setTabOrder(txtNoCust, txtNama);
    setTabOrder(txtNama, txtAlamat);
    setTabOrder(txtAlamat, txtNoTelp);
    setTabOrder(txtNoTelp, cmdSubmit);
    setTabOrder(cmdSubmit, cmdNew);
    setTabOrder(cmdNew, dtGridCustomers);
    setTabOrder(dtGridCustomers, cmdNavigasi.at(0));
    for (int i = 0; i < 3; ++i)
        setTabOrder(cmdNavigasi.at(i), cmdNavigasi.at(i + 1));
    setTabOrder(cmdNavigasi.at(3), cmdQuit);

    // The telephone number is kept as typed: filtered keys only, no "0" when
    // emptied, no grouping, points kept.
    InputRules rules;
    rules.intKeys = InputRules::NumberKeys::Phone;
    rules.intFormat = InputRules::NumberFormat::None;
    rules.intZeroWhenEmpty = false;
    rules.intStripPoints = false;
    rules.strKeys = KeySet::Letters;
    InputConventions::install(this, rules);
    dtGridCustomers->installEventFilter(this);

    connect(txtNoCust, &QLineEdit::textChanged, this,
            [this](const QString& text) { guardDb([&] { DoGetCustomer(text); }); });
    connect(txtAlamat, &QPlainTextEdit::textChanged, this, &frmDBCustomer::keepAddressWithinLimit);
    connect(cmdSubmit, &QPushButton::clicked, this, &frmDBCustomer::cmdSubmit_Click);
    connect(cmdNew, &QPushButton::clicked, this, &frmDBCustomer::cmdNew_Click);
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    for (int i = 0; i < cmdNavigasi.size(); ++i)
        connect(cmdNavigasi.at(i), &QPushButton::clicked, this,
                [this, i] { cmdNavigasi_Click(i); });
    connect(dtGridCustomers->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_loading)
                    fillFromRow(current.isValid() ? current.row() : -1);
            });
    connect(dtGridCustomers, &QTableView::clicked, this,
            [this](const QModelIndex& index) { fillFromRow(index.row()); });

    selAbjad = QStringLiteral("a");
    paintLetters(-1);
    guardDb([this] { restartList(); });
    applyGridColumns(dtGridCustomers, customerColumns());
    dtGridCustomers->setMinimumWidth(RegisterUi::gridWidthFor(dtGridCustomers));
    dtGridCustomers->setMinimumHeight(260);
    cmdNew_Click();
}

void frmDBCustomer::DoFirstSetNav()
{
    NavRecordCount = RegisterStore::countCustomers(RegisterStore::customerLetter(selAbjad));
}

void frmDBCustomer::DoGetCustomers()
{
    const PagePlan plan = planPage(NavCurrentPage, NavPageSize, NavRecordCount, m_shownPage,
                                   rsCustomers->rows(), RegisterStore::customerKeys());
    const RowSet rows = RegisterStore::customerPage(RegisterStore::customerLetter(selAbjad), plan);
    m_loading = true;
    rsCustomers->setRows(rows);
    applyGridColumns(dtGridCustomers, customerColumns());
    RegisterUi::standOnFirstRow(dtGridCustomers, 1);
    m_loading = false;
    m_shownPage = NavCurrentPage;
    lblPage_i->setText(NavPageLabel() + QStringLiteral(": Data Customer"));
}

void frmDBCustomer::restartList()
{
    NavFirstRecord = 1;
    NavFirstPage = 1;
    DoFirstSetNav();
    DoSetPages();
    DoSetNavButtons(this);
    m_shownPage = 0;
    DoGetCustomers();
}

void frmDBCustomer::DoGetCustomer(const QString& number)
{
    const std::optional<RegisterStore::Customer> found = RegisterStore::findCustomer(number);
    if (found) {
        m_editId = found->id;
        txtNama->setText(found->nama);
        txtAlamat->setPlainText(found->alamat);
        txtNoTelp->setText(found->notelp);
        cmdSubmit->setText(QStringLiteral("Update"));
    } else {
        m_editId.reset();
        txtNama->clear();
        txtAlamat->clear();
        txtNoTelp->clear();
        cmdSubmit->setText(QStringLiteral("Submit"));
    }
}

void frmDBCustomer::fillFromRow(int row)
{
    if (row < 0 || row >= rsCustomers->rowCount()) {
        if (rsCustomers->rowCount() == 0)
            cmdNew_Click();
        return;
    }
    txtNoCust->setText(rsCustomers->value(row, QStringLiteral("cust_nomor")).toString());
    txtNama->setText(rsCustomers->value(row, QStringLiteral("cust_nama")).toString());
    txtAlamat->setPlainText(rsCustomers->value(row, QStringLiteral("cust_alamat")).toString());
    txtNoTelp->setText(rsCustomers->value(row, QStringLiteral("cust_notelp")).toString());
    cmdSubmit->setText(QStringLiteral("Update"));
    m_editId = rsCustomers->value(row, QStringLiteral("idcust")).toInt();
}

void frmDBCustomer::cmdNew_Click()
{
    txtNoCust->clear();
    txtNama->clear();
    txtAlamat->clear();
    txtNoTelp->clear();
    cmdSubmit->setText(QStringLiteral("Submit"));
    m_editId.reset();
    txtNoCust->setFocus();
}

void frmDBCustomer::cmdSubmit_Click()
{
    if (txtNoCust->text().isEmpty()) {
        Prompt::message(QStringLiteral("Data entri tidak lengkap."), RegisterTexts::EntryTitle,
                        Prompt::Icon::Critical);
        txtNoCust->setFocus();
        return;
    }
    DoSubmitCustomer(cmdSubmit->text().toLower());
}

void frmDBCustomer::DoSubmitCustomer(const QString& mode)
{
    // "update" writes the customer the editor was filled from: the one whose
    // number is typed, never merely the row the list stands on.
    const std::optional<int> id = mode == QLatin1String("update") ? m_editId : std::nullopt;
    const bool saved = guardDb([&] {
        RegisterStore::saveCustomer(id, txtNoCust->text(), txtNama->text(),
                                    txtAlamat->toPlainText(), txtNoTelp->text());
        restartList();
    });
    if (saved)
        cmdNew_Click();
}

void frmDBCustomer::cmdNavigasi_Click(int index)
{
    DoGoPage(index, this);
    guardDb([this] { DoGetCustomers(); });
}

void frmDBCustomer::lblAbjad_Click(int index)
{
    selAbjad = lblAbjad.at(index)->text().toLower();
    guardDb([this] { restartList(); });
    paintLetters(-1);
}

void frmDBCustomer::paintLetters(int pointed)
{
    const QColor normal = palette().color(QPalette::ButtonText);
    for (int i = 0; i < lblAbjad.size(); ++i) {
        QLabel* label = lblAbjad.at(i);
        QColor colour = normal;
        if (label->text().toLower() == selAbjad)
            colour = selectedLetterColor();
        else if (i == pointed)
            colour = pointedLetterColor();
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, colour);
        label->setPalette(pal);
    }
}

void frmDBCustomer::keepAddressWithinLimit()
{
    const int excess = int(txtAlamat->toPlainText().size()) - AddressLength;
    if (excess <= 0)
        return;
    // Like a one-line box with a length limit: what was just typed or pasted
    // beyond the limit does not go in.
    QTextCursor cursor = txtAlamat->textCursor();
    const int end = cursor.position();
    cursor.setPosition(std::max(0, end - excess));
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    txtAlamat->setTextCursor(cursor);
}

void frmDBCustomer::deleteCurrentRow()
{
    const int row = RegisterUi::currentRow(dtGridCustomers);
    if (row < 0)
        return;
    const int id = rsCustomers->value(row, QStringLiteral("idcust")).toInt();
    const QString name = rsCustomers->value(row, QStringLiteral("cust_nama")).toString();
    bool referenced = false;
    if (!guardDb([&] { referenced = RegisterStore::customerIsReferenced(id); }))
        return;
    if (Prompt::message(RegisterTexts::deleteQuestion(name, referenced), RegisterTexts::DeleteTitle,
                        Prompt::Icon::Question, Prompt::Buttons::YesNo) != Prompt::Answer::Yes)
        return;
    if (!guardDb([&] { RegisterStore::deleteCustomer(id); }))
        return;
    guardDb([this] { restartList(); });
    Prompt::message(RegisterTexts::Deleted, RegisterTexts::DeleteTitle, Prompt::Icon::Information);
    cmdNew_Click();
}

bool frmDBCustomer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dtGridCustomers && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteCurrentRow();
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(watched); label && lblAbjad.contains(label)) {
        const int index = int(lblAbjad.indexOf(label));
        switch (event->type()) {
        case QEvent::Enter:
            paintLetters(index);
            break;
        case QEvent::Leave:
            paintLetters(-1);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                lblAbjad_Click(index);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
