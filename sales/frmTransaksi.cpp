#include "frmTransaksi.h"

#include "core/Globals.h"
#include "core/Regional.h"
#include "payments/PaymentPanel.h"
#include "payments/ShiftStore.h"
#include "payments/frmShiftBuka.h"
#include "sales/DayListModel.h"
#include "sales/Receipt.h"
#include "sales/ReceiptPrinter.h"
#include "sales/VisitStore.h"
#include "sales/frmSearch.h"
#include "ui/GridColumns.h"
#include "ui/GridFit.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "core/Rights.h"
#include "core/Trail.h"
#include "ui/Prompt.h"
#include "ui/Reason.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString SubmitCaption = QStringLiteral("&Submit");
const QString UpdateCaption = QStringLiteral("&Update");
const QString EntryTitle = QStringLiteral("Periksa Entri");
const QString LockedText = QStringLiteral("Maaf, rekaman ini tidak dapat dirubah.");
const QString DeleteTitle = QStringLiteral("Hapus Rekaman");
const QString GoneText = QStringLiteral("Rekaman ini sudah tidak ada (telah dihapus dari kasir lain).");

// Stock arithmetic on doubles: 0,7 - 0,4 must still sell 0,3.
constexpr double StockTolerance = 1e-9;

const QList<GridColumn>& listColumns()
{
    using F = GridColumn::Format;
    static const QList<GridColumn> columns = {
        {QString(), 0, Qt::AlignLeft, F::Text}, // idsales
        {QStringLiteral("Date"), 1000, Qt::AlignLeft, F::Text},
        {QStringLiteral("Nama Cust."), 1500, Qt::AlignLeft, F::Text},
        {QStringLiteral("Variant"), 800, Qt::AlignLeft, F::Text},
        {QStringLiteral("ml"), 700, Qt::AlignRight, F::Amount},
        {QStringLiteral("Tot"), 700, Qt::AlignRight, F::Amount},
        {QStringLiteral("Botol"), 800, Qt::AlignRight, F::Text},
        {QStringLiteral("Harga"), 1000, Qt::AlignRight, F::Amount},
        {QStringLiteral("Disc (%)"), 500, Qt::AlignRight, F::Text},
        {QStringLiteral("Total"), 1000, Qt::AlignRight, F::Amount},
        {QString(), 0, Qt::AlignLeft, F::Text}, // sales_status
    };
    return columns;
}

// The items of the visit being entered.
const QList<GridColumn>& visitColumns()
{
    using F = GridColumn::Format;
    static const QList<GridColumn> columns = {
        {QStringLiteral("Kode"), 900, Qt::AlignLeft, F::Text},
        {QStringLiteral("Variant"), 1500, Qt::AlignLeft, F::Text},
        {QStringLiteral("ml"), 700, Qt::AlignRight, F::Amount},
        {QStringLiteral("Botol"), 900, Qt::AlignLeft, F::Text},
        {QStringLiteral("Disc (%)"), 600, Qt::AlignRight, F::Text},
        {QStringLiteral("Total"), 1100, Qt::AlignRight, F::Amount},
    };
    return columns;
}

// The first key of the payment methods: F3, F4 ... (F2 searches, F9 prints).
constexpr Qt::Key FirstMethodKey = Qt::Key_F3;

// A line edit of the editor; numeric fields are right-aligned.
QLineEdit* lineEdit(QWidget* parent, const QString& name, const QString& tag, int maxLength)
{
    QLineEdit* e = namedLineEdit(parent, name, tag, maxLength);
    if (tag.contains(QLatin1String("_int")))
        e->setAlignment(Qt::AlignRight);
    return e;
}

QFrame* plainFrame(QWidget* parent, const QString& name)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    return f;
}

} // namespace

frmTransaksi::frmTransaksi(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTransaksi"));
    setWindowTitle(QStringLiteral("Transaction"));
    DoApplyWindowLook(this);
    m_receipt = ReceiptPrinter::settings();
    m_methods = paymentMethods(m_receipt.paymentMethods);
    m_till = Config::tillName(m_receipt);
    m_visit = Visit(m_receipt.roundingStep);
    buildControls();

    InputRules rules;
    rules.intKeys = InputRules::NumberKeys::Amount;
    rules.intFormat = InputRules::NumberFormat::Amount;
    InputConventions::install(this, rules);
    dtGridTrans->installEventFilter(this);
    dtGridVisit->installEventFilter(this);
    connect(dtGridVisit, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { editVisitItem(index.row()); });
    // After the input conventions, so this sees the acknowledging Enter first.
    txtNoCust->installEventFilter(this);

    connect(txtNoCust, &QLineEdit::textChanged, this, [this] { DoGetCustomer(); });
    connect(txtKode, &QLineEdit::textChanged, this, [this] {
        DoGetVariant();
        DoGetPrice();
    });
    connect(cmbBotol, &QComboBox::currentIndexChanged, this, [this] {
        DoGetBotol();
        DoGetPrice();
    });
    connect(txtMililiter, &QLineEdit::textChanged, this, [this] { DoGetPrice(); });
    connect(txtDiscount, &QLineEdit::textChanged, this, [this] { DoGetPrice(); });
    for (QLineEdit* e :
         {txtNoCust, txtNama, txtAlamat, txtNoTelp, txtKode, txtMililiter, txtTotalml, txtDiscount})
        connect(e, &QLineEdit::textEdited, this, [this] {
            markDirty();
            lblStatus_i->clear();
        });
    connect(cmbBotol, &QComboBox::activated, this, [this] { markDirty(); });
    connect(cekRefresh, &QCheckBox::clicked, this, [this] { cekRefresh_Click(); });
    connect(txtIDTrans, &QLineEdit::textEdited, this,
            [this](const QString& t) { txtIDTrans_Change(t); });
    connect(cmdNew, &QPushButton::clicked, this, [this] {
        // A visit with items is not thrown away without the question.
        if (m_visit.items().isEmpty() || mayReplaceEntry())
            cmdNew_Click();
    });
    connect(cmdSubmit, &QPushButton::clicked, this, [this] { cmdSubmit_Click(); });
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::close);
    // The receipt: the button or F9; nota=off in cfg.cae takes both away.
    const bool receipts = m_receipt.receiptMode != Config::Values::ReceiptMode::Off;
    auto* f9 = new QShortcut(QKeySequence(Qt::Key_F9), this);
    f9->setEnabled(receipts);
    cmdNota->setVisible(receipts);
    connect(cmdNota, &QPushButton::clicked, this, [this] { cmdNota_Click(); });
    connect(f9, &QShortcut::activated, this, [this] { cmdNota_Click(); });
    // The customer search: "..." (a click target, not a tab stop) or F2 in the
    // customer number box.
    connect(cmdSearch, &QPushButton::clicked, this, [this] { openSearch(); });
    connect(new QShortcut(QKeySequence(Qt::Key_F2), txtNoCust, nullptr, nullptr,
                          Qt::WidgetShortcut),
            &QShortcut::activated, this, [this] { openSearch(); });
    // Saving is one key in both modes: the caption's mnemonic, or Ctrl+S; a new
    // visit is saved by paying it, so Ctrl+S there goes to the payment.
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, [this] {
        if (!cmdSubmit->isEnabled())
            return;
        if (isUpdateMode())
            cmdSubmit->click();
        else
            fraBayar->chooseMethod(0);
    });
    connect(dtGridTrans->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                dtGridTrans_RowColChange(current, previous);
            });
    // Paying: a method's key anywhere in the window, then the amount and Enter.
    fraBayar->setBeforeMethod([this] { return readyToPay(); });
    connect(fraBayar, &PaymentPanel::paid, this, [this](const Payment& p) { payVisit(p); });
    for (int i = 0; i < cmdNavigasi.size(); ++i)
        connect(cmdNavigasi.at(i), &QPushButton::clicked, this, [this, i] {
            DoCDNavigasi(i);
            guardDb([this] { DoGetList(); });
        });

    {
        const QSignalBlocker quiet(cmbBotol);
        cmbBotol->addItems(SalesStore::bottleTypes());
    }
    DoFirstSetPage();
    DoSetDNavigasi();
    DoGetList();
    // Wide enough for every column of the day's list, Total included (a
    // small screen shrinks it again, and the list then scrolls sideways).
    const QMargins margins = layout()->contentsMargins();
    resize(std::max(width(), gridWidthFor(dtGridTrans) + margins.left() + margins.right()),
           height());
    cmdNew_Click();
}

void frmTransaksi::buildControls()
{
    // Customer: the number with its search, then the details of a new customer.
    auto* customer = new QGroupBox(QStringLiteral("Customer"), this);
    customer->setObjectName(QStringLiteral("fraCustomer"));
    fraEditor_e = plainFrame(customer, QStringLiteral("fraEditor_e"));
    txtNoCust = lineEdit(fraEditor_e, QStringLiteral("txtNoCust"), QStringLiteral("input_e"), 12);
    cmdSearch = namedButton(fraEditor_e, QStringLiteral("cmdSearch"), QStringLiteral("..."));
    cmdSearch->setFixedWidth(32);
    cmdSearch->setFocusPolicy(Qt::ClickFocus);
    cmdSearch->setToolTip(QStringLiteral("Cari customer (F2)"));
    auto* eLayout = new QGridLayout(fraEditor_e);
    eLayout->setContentsMargins(0, 0, 0, 0);
    eLayout->addWidget(new QLabel(QStringLiteral("No Cust :"), fraEditor_e), 0, 0);
    eLayout->addWidget(txtNoCust, 0, 1);
    eLayout->addWidget(cmdSearch, 0, 2);

    fraEditor_e1 = plainFrame(customer, QStringLiteral("fraEditor_e1"));
    txtNama = lineEdit(fraEditor_e1, QStringLiteral("txtNama"), QStringLiteral("input_e1"), 25);
    txtAlamat =
        lineEdit(fraEditor_e1, QStringLiteral("txtAlamat"), QStringLiteral("input_e1"), 200);
    txtNoTelp = lineEdit(fraEditor_e1, QStringLiteral("txtNoTelp"), QStringLiteral("input_e1"), 15);
    auto* e1Layout = new QGridLayout(fraEditor_e1);
    e1Layout->setContentsMargins(0, 0, 0, 0);
    e1Layout->addWidget(new QLabel(QStringLiteral("Nama :"), fraEditor_e1), 0, 0);
    e1Layout->addWidget(txtNama, 0, 1);
    e1Layout->addWidget(new QLabel(QStringLiteral("Alamat :"), fraEditor_e1), 1, 0);
    e1Layout->addWidget(txtAlamat, 1, 1);
    e1Layout->addWidget(new QLabel(QStringLiteral("No. Telp :"), fraEditor_e1), 2, 0);
    e1Layout->addWidget(txtNoTelp, 2, 1);
    e1Layout->setColumnMinimumWidth(0, 70);
    eLayout->setColumnMinimumWidth(0, 70);

    auto* customerLayout = new QVBoxLayout(customer);
    customerLayout->addWidget(fraEditor_e);
    customerLayout->addWidget(fraEditor_e1);
    customerLayout->addStretch(1);

    // The goods: variant, millilitres, bottle type.
    fraEditor = new QGroupBox(QStringLiteral("Item"), this);
    fraEditor->setObjectName(QStringLiteral("fraEditor"));
    txtKode = lineEdit(fraEditor, QStringLiteral("txtKode"), QStringLiteral("input"), 12);
    lblVariant_i = new QLabel(fraEditor);
    lblVariant_i->setObjectName(QStringLiteral("lblVariant_i"));
    lblVariant_i->setMinimumWidth(150);
    QFont strong = lblVariant_i->font();
    strong.setBold(true);
    lblVariant_i->setFont(strong);
    txtMililiter =
        lineEdit(fraEditor, QStringLiteral("txtMililiter"), QStringLiteral("input_int"), 20);
    txtTotalml = lineEdit(fraEditor, QStringLiteral("txtTotalml"), QStringLiteral("input_int"), 20);
    cmbBotol = new QComboBox(fraEditor);
    cmbBotol->setObjectName(QStringLiteral("cmbBotol"));
    cmbBotol->setProperty("tag", QStringLiteral("input"));
    cmbBotol->setMinimumWidth(120);
    cekRefresh = new QCheckBox(QStringLiteral("New Price"), fraEditor);
    cekRefresh->setObjectName(QStringLiteral("cekRefresh"));
    auto* itemLayout = new QGridLayout(fraEditor);
    itemLayout->addWidget(new QLabel(QStringLiteral("Kode :"), fraEditor), 0, 0);
    itemLayout->addWidget(txtKode, 0, 1);
    itemLayout->addWidget(new QLabel(QStringLiteral("Variant :"), fraEditor), 0, 2);
    itemLayout->addWidget(lblVariant_i, 0, 3);
    itemLayout->addWidget(new QLabel(QStringLiteral("Mililiter :"), fraEditor), 1, 0);
    itemLayout->addWidget(txtMililiter, 1, 1);
    itemLayout->addWidget(new QLabel(QStringLiteral("Total ml :"), fraEditor), 1, 2);
    itemLayout->addWidget(txtTotalml, 1, 3, Qt::AlignLeft);
    itemLayout->addWidget(new QLabel(QStringLiteral("Botol :"), fraEditor), 2, 0);
    itemLayout->addWidget(cmbBotol, 2, 1);
    itemLayout->addWidget(cekRefresh, 2, 3);
    itemLayout->setColumnStretch(3, 1);
    // The two millilitre boxes are equally wide.
    txtTotalml->setMinimumWidth(txtKode->sizeHint().width());

    // The price.
    auto* price = new QGroupBox(QStringLiteral("Price"), this);
    price->setObjectName(QStringLiteral("fraHarga"));
    lblHarga_i = valueLabel(price, QStringLiteral("lblHarga_i"), Qt::AlignRight | Qt::AlignVCenter, 120);
    txtDiscount = lineEdit(price, QStringLiteral("txtDiscount"), QStringLiteral("input_int"), 20);
    // Wide enough for the largest discount with its decimals.
    txtDiscount->setMinimumWidth(txtDiscount->fontMetrics().horizontalAdvance(QStringLiteral("100,000")) + 16);
    txtDiscount->setMaximumWidth(txtDiscount->minimumWidth());
    lblTotalHarga_i = valueLabel(price, QStringLiteral("lblTotalHarga_i"), Qt::AlignRight | Qt::AlignVCenter, 120);
    lblTotalHarga_i->setFont(strong);
    auto* priceLayout = new QHBoxLayout(price);
    priceLayout->addWidget(new QLabel(QStringLiteral("Harga :"), price));
    priceLayout->addWidget(lblHarga_i);
    priceLayout->addSpacing(12);
    priceLayout->addWidget(new QLabel(QStringLiteral("Discount (%):"), price));
    priceLayout->addWidget(txtDiscount);
    priceLayout->addSpacing(12);
    priceLayout->addWidget(new QLabel(QStringLiteral("Total :"), price));
    priceLayout->addWidget(lblTotalHarga_i);
    priceLayout->addStretch(1);

    // The sale number and the editor's buttons.
    fraEditor_id = plainFrame(this, QStringLiteral("fraEditor_id"));
    txtIDTrans =
        lineEdit(fraEditor_id, QStringLiteral("txtIDTrans"), QStringLiteral("input_id"), 12);
    txtIDTrans->setMinimumWidth(txtIDTrans->fontMetrics().horizontalAdvance(QStringLiteral("000000000000")) + 16);
    txtIDTrans->setMaximumWidth(txtIDTrans->minimumWidth());
    auto* idLayout = new QHBoxLayout(fraEditor_id);
    idLayout->setContentsMargins(0, 0, 0, 0);
    idLayout->addWidget(new QLabel(QStringLiteral("ID Trans :"), fraEditor_id));
    idLayout->addWidget(txtIDTrans);
    cmdNew = namedButton(this, QStringLiteral("cmdNew"), QStringLiteral("&New"));
    cmdSubmit = namedButton(this, QStringLiteral("cmdSubmit"), SubmitCaption);
    cmdNota = namedButton(this, QStringLiteral("cmdNota"), QStringLiteral("&Cetak Nota"));
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("Quit"));
    lblStatus_i = new QLabel(this);
    lblStatus_i->setObjectName(QStringLiteral("lblStatus_i"));
    // As wide as its longer messages from the start, so showing one never
    // widens the window.
    lblStatus_i->setMinimumWidth(lblStatus_i->fontMetrics().horizontalAdvance(
                                     QStringLiteral("Data telah disimpan. Kembali 1.000.000")) +
                                 4);
    lblStatus_i->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fraEditor_id);
    buttons->addStretch(1);
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdSubmit);
    buttons->addWidget(cmdNota);
    buttons->addWidget(cmdQuit);

    // The day's list and its day navigation.
    dtGridTrans = new QTableView(this);
    dtGridTrans->setObjectName(QStringLiteral("dtGridTrans"));
    m_model = new DayListModel(dtGridTrans);
    setUpGrid(dtGridTrans, m_model);
    // A few rows at least; the window opens taller where the screen allows.
    dtGridTrans->setMinimumHeight(110);
    QHBoxLayout* nav = pageButtonRow(cmdNavigasi, this);
    lblPage_i = new QLabel(this);
    lblPage_i->setObjectName(QStringLiteral("lblPage_i"));
    nav->addSpacing(8);
    nav->addWidget(lblPage_i);
    nav->addStretch(1);

    auto* top = new QGridLayout;
    // The price on one line across the window: narrow enough for a small screen.
    top->addWidget(customer, 0, 0);
    top->addWidget(fraEditor, 0, 1);
    top->addWidget(price, 1, 0, 1, 2);
    top->setColumnStretch(0, 2);
    top->setColumnStretch(1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    // Below the editor, on two pages of the same room: the day's list, and the
    // visit being entered with its payment. The status line sits beside the
    // pages' tabs, seen on both.
    auto* dayPage = new QWidget(this);
    auto* dayLayout = new QVBoxLayout(dayPage);
    dayLayout->setContentsMargins(4, 4, 4, 4);
    dayLayout->addWidget(dtGridTrans, 1);
    dayLayout->addLayout(nav);
    auto* visitPage = new QWidget(this);
    dtGridVisit = new QTableView(visitPage);
    dtGridVisit->setObjectName(QStringLiteral("dtGridVisit"));
    m_visitModel = new RowSetModel(dtGridVisit);
    setUpGrid(dtGridVisit, m_visitModel);
    dtGridVisit->setMinimumHeight(36);
    dtGridVisit->setFocusPolicy(Qt::ClickFocus);
    dtGridVisit->setToolTip(QStringLiteral("Delete: hapus barang dari kunjungan; Enter: ubah barang"));
    fraBayar = new PaymentPanel(m_methods, FirstMethodKey, visitPage);
    auto* visitLayout = new QVBoxLayout(visitPage);
    visitLayout->setContentsMargins(2, 2, 2, 2);
    visitLayout->setSpacing(2);
    visitLayout->addWidget(dtGridVisit, 1);
    visitLayout->addWidget(fraBayar);
    tabDaftar = new QTabWidget(this);
    tabDaftar->setObjectName(QStringLiteral("tabDaftar"));
    tabDaftar->addTab(dayPage, QStringLiteral("Penjualan"));
    tabDaftar->addTab(visitPage, QStringLiteral("Kunjungan"));
    tabDaftar->setCornerWidget(lblStatus_i, Qt::TopRightCorner);
    tabDaftar->tabBar()->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(tabDaftar, 1);
    resize(860, 600);

    setTabOrder(txtNoCust, txtNama);
    setTabOrder(txtNama, txtAlamat);
    setTabOrder(txtAlamat, txtNoTelp);
    setTabOrder(txtNoTelp, txtKode);
    setTabOrder(txtKode, txtMililiter);
    setTabOrder(txtMililiter, txtTotalml);
    setTabOrder(txtTotalml, cmbBotol);
    setTabOrder(cmbBotol, cekRefresh);
    setTabOrder(cekRefresh, txtDiscount);
    // From the last entry field straight to saving; New and the list after it.
    setTabOrder(txtDiscount, cmdSubmit);
    setTabOrder(cmdSubmit, cmdNota);
    setTabOrder(cmdNota, cmdNew);
    setTabOrder(cmdNew, txtIDTrans);
    setTabOrder(txtIDTrans, dtGridTrans);
    QWidget* last = dtGridTrans;
    for (QPushButton* b : cmdNavigasi) {
        setTabOrder(last, b);
        last = b;
    }
    setTabOrder(last, cmdQuit);
}

bool frmTransaksi::receiveCustomer(const QString& nomor)
{
    if (!fraEditor_e->isEnabled() || txtNoCust->isReadOnly())
        return false;
    txtNoCust->setText(nomor);
    markDirty();
    lblStatus_i->clear();
    // On to the first field the customer leaves open.
    m_afterSearch = m_idCust != 0 ? txtKode : txtNama;
    m_afterSearch->setFocus();
    return true;
}

void frmTransaksi::openSearch()
{
    m_afterSearch = nullptr;
    {
        frmSearch search(this, this);
        search.exec();
    }
    if (!m_afterSearch)
        return;
    // Back in the till, whether or not a window manager hands the keyboard
    // back: the keys typed next go to that field. The Enter that picked the
    // customer was the search's own and moves nothing here.
    activateWindow();
    m_afterSearch->setFocus();
    m_afterSearch = nullptr;
}

// ---- Lookups and price ----------------------------------------------------

void frmTransaksi::DoGetCustomer()
{
    std::optional<SalesStore::Customer> c;
    if (!guardDb([&] { c = SalesStore::findCustomer(txtNoCust->text()); }))
        return;
    m_idCust = c ? c->id : 0;
    txtNama->setText(c ? c->nama : QString());
    txtAlamat->setText(c ? c->alamat : QString());
    txtNoTelp->setText(c ? c->notelp : QString());
    // A long text is shown from its start, also where it is locked.
    for (QLineEdit* e : {txtNama, txtAlamat, txtNoTelp})
        e->setCursorPosition(0);
    // A known customer's details are locked; a new one's are typed here.
    InputIsEnabled(QStringLiteral("input_e1"), !c);
}

void frmTransaksi::DoGetVariant()
{
    std::optional<SalesStore::Variant> v;
    if (!guardDb([&] { v = SalesStore::findVariant(txtKode->text()); }))
        return;
    m_variantFound = v.has_value();
    if (v)
        m_idVariant = v->id;
    lblVariant_i->setText(v ? v->nama : QString());
    m_hargaVariant = v ? v->harga : 0;
    m_stockVariant = v ? v->stock : 0;
    // "New Price" ticked keeps the unit price stored on the sale, as long as
    // the sale still has that variant; another variant has its own price.
    if (v && cekRefresh->isChecked() && m_old && m_old->idVariant == v->id)
        m_hargaVariant = m_old->hargaVariant;
}

void frmTransaksi::DoGetBotol()
{
    std::optional<SalesStore::Botol> b;
    if (!guardDb([&] { b = SalesStore::findBotol(cmbBotol->currentText()); }))
        return;
    m_idBotol = b ? b->id : 0;
    m_hargaBotol = b ? b->harga : 0;
    m_stockBotol = b ? b->stock : 0;
    if (b && cekRefresh->isChecked() && m_old && m_old->idBotol == b->id)
        m_hargaBotol = m_old->hargaBotol;
}

void frmTransaksi::DoGetPrice()
{
    if (txtMililiter->text().isEmpty())
        txtMililiter->setText(QStringLiteral("0"));
    if (txtDiscount->text().isEmpty())
        txtDiscount->setText(QStringLiteral("0"));
    m_repriced = true;
    showPrice(salePrice(Regional::read(txtMililiter->text()), m_hargaVariant, m_hargaBotol,
                        Regional::read(txtDiscount->text())));
}

void frmTransaksi::showPrice(const SalePrice& price)
{
    m_price = price;
    lblHarga_i->setText(Regional::amount(price.harga));
    lblTotalHarga_i->setText(Regional::amount(price.total));
}

void frmTransaksi::cekRefresh_Click()
{
    // Ticked: the unit prices stored on the sale for the items it still has;
    // unticked: today's register prices.
    DoGetVariant();
    DoGetBotol();
    DoGetPrice();
    markDirty();
}

// ---- Editor states ----------------------------------------------------------

void frmTransaksi::InputIsEnabled(const QString& tag, bool enabled)
{
    if (tag.contains(QLatin1String("_e1"))) {
        fraEditor_e1->setEnabled(enabled);
    } else if (tag.contains(QLatin1String("_e"))) {
        fraEditor_e->setEnabled(enabled);
        fraEditor_e1->setEnabled(enabled);
    } else if (tag.contains(QLatin1String("_id"))) {
        fraEditor_id->setEnabled(enabled);
    } else {
        fraEditor->setEnabled(enabled);
        cekRefresh->setEnabled(enabled);
    }
    InputConventions::setGroupEnabled(this, tag, enabled);
}

void frmTransaksi::cmdNew_Click()
{
    // Clearing runs the lookups: no customer (details open), no variant, no bottle.
    DoClearInputs(QStringLiteral("input"), this);
    InputIsEnabled(QStringLiteral("input"), true);
    InputIsEnabled(QStringLiteral("input_id"), false);
    InputIsEnabled(QStringLiteral("input_e"), true);
    cmdNew->setEnabled(true);
    cmdSubmit->setEnabled(true);
    cmdSubmit->setText(SubmitCaption);
    cekRefresh->setChecked(false);
    cekRefresh->setEnabled(false);
    m_old.reset();
    m_dirty = false;
    m_savedNotice = false;
    showInList(0);
    // A new customer's visit: nothing in it yet, the day's list on show.
    m_visit.clear();
    showVisit();
    fraBayar->clear();
    tabDaftar->setCurrentIndex(0);
    txtNoCust->setFocus();
}

void frmTransaksi::DoGetTrans(const QString& id)
{
    // A recorded sale replaces a visit being entered (the question came first).
    if (!m_visit.items().isEmpty()) {
        m_visit.clear();
        showVisit();
        fraBayar->clear();
    }
    // Text that is not a sale number finds no sale.
    bool isNumber = false;
    const qint64 number = id.trimmed().toLongLong(&isNumber);
    std::optional<SalesStore::Sale> sale;
    if (isNumber && !guardDb([&] { sale = SalesStore::loadSale(number); }))
        return;
    m_old = sale;
    {
        // The lookups run once below, also where a text stays the same.
        const QSignalBlocker b1(txtNoCust), b2(txtKode), b3(txtMililiter), b4(txtTotalml),
            b5(cmbBotol), b6(txtDiscount);
        if (sale) {
            txtNoCust->setText(sale->custNomor);
            txtKode->setText(sale->variantKode);
            txtMililiter->setText(Regional::amount(sale->mililiter));
            txtTotalml->setText(Regional::amount(sale->totalml));
            cmbBotol->setCurrentIndex(cmbBotol->findText(sale->botolTipe));
            txtDiscount->setText(Regional::plain(sale->diskon));
        } else {
            txtNoCust->clear();
            txtKode->clear();
            txtMililiter->setText(QStringLiteral("0"));
            txtTotalml->setText(QStringLiteral("0"));
            cmbBotol->setCurrentIndex(-1);
            txtDiscount->setText(QStringLiteral("0"));
        }
    }
    DoGetCustomer();
    DoGetVariant();
    DoGetBotol();
    // Correction: the goods and the price open, the customer kept. Empty: only the number open.
    InputIsEnabled(QStringLiteral("input"), sale.has_value());
    InputIsEnabled(QStringLiteral("input_e"), false);
    InputIsEnabled(QStringLiteral("input_id"), true);
    cmdSubmit->setEnabled(sale.has_value());
    if (sale) {
        // The stored totals, not a repricing at today's prices.
        showPrice({sale->hargaTotal, sale->hargaDiskon});
        m_repriced = false;
    } else {
        m_price = {};
        lblHarga_i->setText(QStringLiteral("0"));
        lblTotalHarga_i->setText(QStringLiteral("0"));
    }
    cekRefresh->setChecked(false);
    cmdNew->setEnabled(true);
    m_dirty = false;
    showInList(sale ? sale->id : 0);
}

// ---- Saving -----------------------------------------------------------------

bool frmTransaksi::InputIsChecked()
{
    const auto refuse = [](const QString& text, QWidget* focus) {
        Prompt::message(text, EntryTitle, Prompt::Icon::Critical);
        focus->setFocus();
        return false;
    };
    if (fraEditor_e->isEnabled() && txtNoCust->text().isEmpty())
        return refuse(QStringLiteral("No. Cust belum lengkap!"), txtNoCust);
    if (txtKode->text().isEmpty())
        return refuse(QStringLiteral("Kode variant belum lengkap!"), txtKode);
    if (!m_variantFound)
        return refuse(QStringLiteral("Kode variant tidak dikenal!"), txtKode);
    if (cmbBotol->currentIndex() < 0)
        return refuse(QStringLiteral("Tipe botol belum lengkap!"), cmbBotol);
    // A number such as 7.5 is refused, not read as 75.
    if (!InputConventions::checkNumbers(this))
        return false;
    // A discount outside 0..100 would book a negative sale or a surcharge.
    const double diskon = Regional::read(txtDiscount->text());
    if (diskon < 0 || diskon > 100)
        return refuse(QStringLiteral("Diskon harus antara 0 dan 100 %."), txtDiscount);
    return true;
}

bool frmTransaksi::isRefill() const
{
    return cmbBotol->currentText() == RefillBottleType;
}

bool frmTransaksi::isUpdateMode() const
{
    return cmdSubmit->text() == UpdateCaption;
}

SalesStore::Amounts frmTransaksi::amounts() const
{
    SalesStore::Amounts a{m_idVariant,
                          m_idBotol,
                          Regional::read(txtMililiter->text()),
                          Regional::read(txtTotalml->text()),
                          m_price.harga,
                          Regional::read(txtDiscount->text()),
                          m_price.total,
                          m_hargaVariant,
                          m_hargaBotol};
    // Not repriced since loading: the totals shown are the stored ones.
    a.repriced = m_repriced;
    return a;
}

bool frmTransaksi::cmdSubmit_Click()
{
    if (!InputIsChecked())
        return false;
    const bool update = isUpdateMode() && m_old;
    if (update && m_old->status == 1) {
        Prompt::message(LockedText, EntryTitle, Prompt::Icon::Critical);
        DoGetTrans(txtIDTrans->text());
        // A list without a current row would select its first row on focus.
        if (dtGridTrans->currentIndex().isValid())
            dtGridTrans->setFocus();
        return false;
    }
    // A correction of the same variant may use what the sale itself took; the
    // visit's earlier items of it are taken already.
    const double mililiter = Regional::read(txtMililiter->text());
    double available = m_stockVariant;
    if (update && m_old->idVariant == m_idVariant)
        available += m_old->mililiter;
    int bottlesTaken = 0;
    if (!update)
        for (const VisitItem& item : m_visit.items()) {
            if (item.idVariant == m_idVariant)
                available -= item.mililiter;
            if (item.idBotol == m_idBotol)
                ++bottlesTaken;
        }
    if (mililiter > available + StockTolerance) {
        Prompt::message(QStringLiteral("Stock Konsentrat tidak tersedia."), EntryTitle,
                        Prompt::Icon::Critical);
        txtMililiter->setFocus();
        return false;
    }
    // A bottle is needed unless the customer's own is refilled or a correction keeps it.
    const bool needsBottle = !isRefill() && !(update && m_old->idBotol == m_idBotol);
    if (needsBottle && m_stockBotol - bottlesTaken <= 0) {
        Prompt::message(QStringLiteral("Stock Botol tidak tersedia."), EntryTitle,
                        Prompt::Icon::Critical);
        return false;
    }

    if (!update)
        return addItemToVisit();
    const std::optional<qint64> saved = DoSubmit(update);
    if (!saved)
        return false;
    m_dirty = false;
    // Committed: said so first, in the status line rather than a box, so
    // that no key typed after the save goes to a closing box; a failing
    // refresh has its own message after.
    lblStatus_i->setText(QStringLiteral("Data telah disimpan."));
    tellDifference(m_pendingDifference.amount, m_pendingDifference.method);
    m_pendingDifference = {};
    listAfterWrite({}, *saved, 0);
    m_lastVisitId = 0;
    saleSaved(*saved);
    // On to the next customer: the editor empty, the saved sale on top of the list.
    cmdNew_Click();
    m_savedNotice = true;
    return true;
}

std::optional<qint64> frmTransaksi::DoSubmit(bool update)
{
    Q_UNUSED(update);
    // A correction books what the customer gets back or pays more in the
    // till's open shift, by the method the visit was paid with.
    if (!ensureShift())
        return std::nullopt;
    const qint64 id = m_old->id;
    const PaymentMethod method = methodOfSale(id);
    VisitStore::Result result;
    double difference = 0;
    const bool written = guardDb([&] {
        result = VisitStore::correctItem(id, amounts(), method, m_idShift, m_receipt.roundingStep,
                                         &difference);
    });
    if (!written)
        return std::nullopt;
    if (result.shift != ShiftStore::Outcome::Done) {
        m_idShift = 0;
        Prompt::message(result.text(), EntryTitle, Prompt::Icon::Critical);
        return std::nullopt;
    }
    const SalesStore::Outcome outcome = result.sale;
    if (outcome != SalesStore::Outcome::Done && outcome != SalesStore::Outcome::Locked &&
        outcome != SalesStore::Outcome::Missing) {
        // Another till sold the stock or deleted a row this sale names.
        Prompt::message(SalesStore::refusalText(outcome), EntryTitle, Prompt::Icon::Critical);
        return std::nullopt;
    }
    if (outcome != SalesStore::Outcome::Done) {
        // Locked or gone since it was loaded: say so and show it as it now is.
        Prompt::message(outcome == SalesStore::Outcome::Locked ? LockedText : GoneText, EntryTitle,
                        Prompt::Icon::Critical);
        DoGetTrans(QString::number(id));
        return std::nullopt;
    }
    m_pendingDifference = {difference, method};
    return id;
}

// ---- The visit ----------------------------------------------------------------

bool frmTransaksi::addItemToVisit()
{
    // Selling starts with the till's shift: the opening cash is asked once.
    if (m_visit.items().isEmpty() && !ensureShift()) {
        lblStatus_i->setText(QStringLiteral("Buka shift kasir dulu untuk menjual."));
        return false;
    }
    VisitItem item;
    item.idVariant = m_idVariant;
    item.variantKode = txtKode->text().trimmed();
    item.variantNama = lblVariant_i->text();
    item.hargaVariant = m_hargaVariant;
    item.idBotol = m_idBotol;
    item.botolTipe = cmbBotol->currentText();
    item.hargaBotol = m_hargaBotol;
    item.mililiter = Regional::read(txtMililiter->text());
    item.totalml = Regional::read(txtTotalml->text());
    item.diskon = Regional::read(txtDiscount->text());
    m_visit.addItem(item);
    // The customer stays for the whole visit; the item fields are empty for the next one.
    InputIsEnabled(QStringLiteral("input_e"), false);
    {
        const QSignalBlocker b1(txtKode), b2(txtMililiter), b3(txtDiscount);
        txtKode->clear();
        txtMililiter->setText(QStringLiteral("0"));
        txtTotalml->setText(QStringLiteral("0"));
        txtDiscount->setText(QStringLiteral("0"));
    }
    cmbBotol->setCurrentIndex(-1);
    DoGetVariant();
    DoGetPrice();
    showVisit();
    lblStatus_i->setText(QStringLiteral("Barang ke-%1 masuk kunjungan.").arg(m_visit.items().size()));
    txtKode->setFocus();
    return true;
}

void frmTransaksi::showVisit()
{
    RowSet rows;
    rows.columns = {QStringLiteral("kode"), QStringLiteral("variant"), QStringLiteral("ml"),
                    QStringLiteral("botol"), QStringLiteral("diskon"), QStringLiteral("total")};
    for (const VisitItem& item : m_visit.items())
        rows.rows << QVariantList{item.variantKode, item.variantNama, item.mililiter,
                                  item.botolTipe, Regional::plain(item.diskon), item.price().total};
    m_visitModel->setRows(rows);
    applyGridColumns(dtGridVisit, visitColumns());
    fitColumnsToText(dtGridVisit);
    fraBayar->setAmounts(m_visit.total(), m_visit.rounding(), m_visit.amountToPay());
    if (!m_visit.items().isEmpty())
        tabDaftar->setCurrentIndex(1);
}

void frmTransaksi::removeVisitItem(int row)
{
    if (row < 0 || row >= m_visit.items().size())
        return;
    m_visit.removeItem(row);
    showVisit();
    lblStatus_i->setText(QStringLiteral("Barang dihapus dari kunjungan."));
    if (m_visit.items().isEmpty()) {
        // No item left: the customer may be changed again.
        InputIsEnabled(QStringLiteral("input_e"), true);
        DoGetCustomer();
        txtKode->setFocus();
        return;
    }
    dtGridVisit->setFocus();
    dtGridVisit->selectRow(std::min<int>(row, int(m_visit.items().size()) - 1));
}

void frmTransaksi::editVisitItem(int row)
{
    if (row < 0 || row >= m_visit.items().size())
        return;
    // The editor must be free: an item typed meanwhile is not overwritten.
    if (!txtKode->text().trimmed().isEmpty()) {
        lblStatus_i->setText(QStringLiteral("Tambahkan atau kosongkan barang yang sedang diketik dulu."));
        return;
    }
    const VisitItem item = m_visit.items().at(row);
    m_visit.removeItem(row);
    showVisit();
    txtKode->setText(item.variantKode);
    txtMililiter->setText(Regional::amount(item.mililiter));
    txtTotalml->setText(Regional::amount(item.totalml));
    cmbBotol->setCurrentIndex(cmbBotol->findText(item.botolTipe));
    txtDiscount->setText(Regional::plain(item.diskon));
    markDirty();
    lblStatus_i->setText(QStringLiteral("Ubah barang, lalu Submit untuk memasukkannya lagi."));
    txtKode->setFocus();
}

bool frmTransaksi::readyToPay()
{
    if (isUpdateMode()) {
        lblStatus_i->setText(QStringLiteral("Simpan atau batalkan koreksi dulu."));
        return false;
    }
    // The item still being typed joins the visit first, with the same checks
    // as Submit.
    if (!txtKode->text().trimmed().isEmpty() && !cmdSubmit_Click())
        return false;
    if (m_visit.items().isEmpty()) {
        lblStatus_i->setText(QStringLiteral("Belum ada barang yang dibayar."));
        return false;
    }
    tabDaftar->setCurrentIndex(1);
    return true;
}

bool frmTransaksi::ensureShift()
{
    std::optional<ShiftStore::Shift> open;
    if (!guardDb([&] { open = ShiftStore::openShift(m_till); }))
        return false;
    if (open) {
        m_idShift = open->id;
        return true;
    }
    frmShiftBuka opening(m_till, this);
    if (opening.exec() != QDialog::Accepted)
        return false;
    m_idShift = opening.openedShift();
    activateWindow();
    return m_idShift != 0;
}

void frmTransaksi::payVisit(const Payment& payment)
{
    if (m_visit.items().isEmpty() || !ensureShift())
        return;
    if (!m_visit.pay(payment)) {
        lblStatus_i->setText(paymentCheckText(PaymentCheck::Short, m_visit.amountToPay()));
        return;
    }
    VisitStore::NewVisit nv;
    nv.idShift = m_idShift;
    nv.idCust = m_idCust;
    nv.customer = {txtNoCust->text(), txtNama->text(), txtAlamat->text(), txtNoTelp->text()};
    nv.visit = m_visit;
    VisitStore::Result result;
    VisitStore::Saved saved;
    if (!guardDb([&] { result = VisitStore::recordVisit(nv, &saved); }))
        return;
    if (!result.done()) {
        if (result.shift != ShiftStore::Outcome::Done)
            m_idShift = 0;
        // Nothing was written: the visit stays for the cashier to mend.
        Prompt::message(result.text(), EntryTitle, Prompt::Icon::Critical);
        return;
    }
    const Payment paid = m_visit.payment();
    m_dirty = false;
    // Cash goes into the drawer: it opens (when cfg.cae names one); a failure
    // is told, the visit stays saved.
    if (paid.cash)
        if (const auto failure = ReceiptPrinter::openDrawer(m_receipt))
            Prompt::message(ReceiptPrinter::drawerMessage(*failure), QStringLiteral("Laci Kas"),
                            Prompt::Icon::Exclamation);
    lblStatus_i->setText(paid.cash && paid.change > 0
                             ? QStringLiteral("Data telah disimpan. Kembali %1")
                                   .arg(Regional::whole(paid.change))
                             : QStringLiteral("Data telah disimpan."));
    listAfterWrite(saved.idSales, 0, 0);
    m_lastVisitId = saved.idVisit;
    saleSaved(saved.idSales.first());
    const double amountPaid = m_visit.amountToPay();
    m_visit.clear();
    cmdNew_Click();
    fraBayar->showPaid(amountPaid, paid);
    tabDaftar->setCurrentIndex(1);
    m_savedNotice = true;
}

PaymentMethod frmTransaksi::methodOfSale(qint64 id) const
{
    QString name;
    guardDb([&] { name = VisitStore::methodOf(id); });
    for (const PaymentMethod& m : m_methods)
        if (m.name.compare(name, Qt::CaseInsensitive) == 0)
            return m;
    // A sale of its own, or a method no longer offered: cash.
    for (const PaymentMethod& m : m_methods)
        if (m.cash)
            return m;
    return name.isEmpty() ? PaymentMethod{QStringLiteral("Tunai"), true} : PaymentMethod{name, false};
}

void frmTransaksi::tellDifference(double difference, const PaymentMethod& method)
{
    if (difference < 0)
        lblStatus_i->setText(QStringLiteral("Data telah disimpan. Dikembalikan %1 (%2)")
                                 .arg(Regional::whole(-difference), method.name));
    else if (difference > 0)
        lblStatus_i->setText(QStringLiteral("Data telah disimpan. Tambah bayar %1 (%2)")
                                 .arg(Regional::whole(difference), method.name));
}

void frmTransaksi::showInList(qint64 id)
{
    // The list's highlighted row is the sale in the editor, or none: the Delete
    // key then never reaches another sale than the one on show.
    QItemSelectionModel* selection = dtGridTrans->selectionModel();
    const QScopedValueRollback<bool> quiet(m_syncingList, true);
    if (const int row = id != 0 ? m_model->rowOf(id) : -1; row >= 0) {
        selection->setCurrentIndex(m_model->index(row, 1), QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
        return;
    }
    selection->clearSelection();
    selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void frmTransaksi::txtIDTrans_Change(const QString& text)
{
    if (mayReplaceEntry()) {
        DoGetTrans(text);
        return;
    }
    // Saved and moved on to a new sale, or kept: the number shows the sale in the editor.
    if (txtIDTrans->isReadOnly())
        return;
    const QSignalBlocker quiet(txtIDTrans);
    txtIDTrans->setText(m_old ? QString::number(m_old->id) : QString());
}

bool frmTransaksi::mayReplaceEntry()
{
    const bool visitPending = !isUpdateMode() && (!m_visit.items().isEmpty() || m_dirty);
    if (!visitPending && (!cmdSubmit->isEnabled() || !m_dirty))
        return true;
    switch (Prompt::message(QStringLiteral("Simpan rekaman ini?"), windowTitle(),
                            Prompt::Icon::Question, Prompt::Buttons::YesNoCancel)) {
    case Prompt::Answer::No:
        return true;
    case Prompt::Answer::Yes:
        // A visit is saved by paying it: on to the payment.
        if (visitPending)
            fraBayar->chooseMethod(0);
        else
            cmdSubmit_Click();
        return false;
    default:
        return false;
    }
}

// ---- The receipt --------------------------------------------------------------

void frmTransaksi::saleSaved(qint64 id)
{
    m_lastSavedId = id;
    if (m_receipt.receiptMode == Config::Values::ReceiptMode::Automatic)
        DoPrintNota(id);
}

void frmTransaksi::cmdNota_Click()
{
    if (m_receipt.receiptMode == Config::Values::ReceiptMode::Off)
        return;
    // A recorded sale in the editor (selected in the list, or just saved);
    // while a new sale is entered, the one saved last.
    qint64 id = 0;
    if (m_old)
        id = m_old->id;
    else if (!isUpdateMode())
        id = m_lastSavedId;
    if (id == 0) {
        Prompt::message(QStringLiteral("Belum ada penjualan yang dapat dicetak notanya."),
                        QStringLiteral("Cetak Nota"), Prompt::Icon::Exclamation);
        return;
    }
    DoPrintNota(id);
}

void frmTransaksi::DoPrintNota(qint64 id)
{
    // A sale of a visit prints the visit's receipt, with every item and the payment.
    qint64 idVisit = 0;
    if (!guardDb([&] { idVisit = VisitStore::visitOf(id); }))
        return;
    if (idVisit != 0)
        return DoPrintVisit(idVisit);
    std::optional<QString> failure;
    if (!guardDb([&] { failure = ReceiptPrinter::printSale(id, m_receipt); }))
        return;
    if (failure)
        Prompt::message(*failure, QStringLiteral("Cetak Nota"), Prompt::Icon::Critical);
}

void frmTransaksi::DoPrintVisit(qint64 idVisit)
{
    std::optional<QString> failure;
    if (!guardDb([&] { failure = ReceiptPrinter::printVisit(idVisit, m_receipt); }))
        return;
    if (failure)
        Prompt::message(*failure, QStringLiteral("Cetak Nota"), Prompt::Icon::Critical);
}

void frmTransaksi::reject()
{
    // A visit being entered (items in it, or the first one typed) is saved by
    // paying it: Yes leads to the payment and the window stays.
    const bool visit = !isUpdateMode() && (!m_visit.items().isEmpty() || m_dirty);
    if (visit && cmdSubmit->isEnabled()) {
        if (!mayReplaceEntry())
            return;
    } else if (cmdSubmit->isEnabled() && m_dirty) {
        switch (Prompt::message(QStringLiteral("Simpan rekaman ini?"), windowTitle(),
                                Prompt::Icon::Question, Prompt::Buttons::YesNoCancel)) {
        case Prompt::Answer::Yes:
            // A refused or failed save keeps the window and the entry.
            if (!cmdSubmit_Click())
                return;
            break;
        case Prompt::Answer::No:
            break;
        default:
            return;
        }
    }
    QDialog::reject();
}

// ---- The day's list ---------------------------------------------------------

void frmTransaksi::DoFirstSetPage()
{
    m_dateToday = QDate::currentDate();
    const QDate first = SalesStore::firstSaleDay();
    if (first.isValid())
        m_dateFirst = qMin(first, m_dateToday);
    else if (!m_dateFirst.isValid())
        m_dateFirst = m_dateToday.addDays(-1); // no sale yet: one day back is all there is
    m_dateShown = m_dateToday;
}

void frmTransaksi::DoSetDNavigasi()
{
    for (QPushButton* b : cmdNavigasi)
        b->setEnabled(true);
    if (m_dateShown != m_dateFirst) {
        m_datePrev = m_dateShown.addDays(-1);
    } else {
        cmdNavigasi.at(0)->setEnabled(false);
        cmdNavigasi.at(1)->setEnabled(false);
        m_datePrev = m_dateShown;
    }
    if (m_dateShown != m_dateToday) {
        m_dateNext = m_dateShown.addDays(1);
    } else {
        cmdNavigasi.at(2)->setEnabled(false);
        cmdNavigasi.at(3)->setEnabled(false);
        m_dateNext = m_dateShown;
    }
}

void frmTransaksi::DoCDNavigasi(int index)
{
    switch (index) {
    case 0:
        m_dateShown = m_dateFirst;
        break;
    case 1:
        m_dateShown = m_datePrev;
        break;
    case 2:
        m_dateShown = m_dateNext;
        break;
    case 3:
        m_dateShown = m_dateToday;
        break;
    default:
        break;
    }
    DoSetDNavigasi();
}

void frmTransaksi::DoGetList()
{
    {
        const QScopedValueRollback<bool> quiet(m_syncingList, true);
        ++m_listVersion;
        m_model->showDay(m_dateShown);
    }
    applyGridColumns(dtGridTrans, listColumns());
    fitColumnsToText(dtGridTrans);
    // The sale in the editor stays highlighted where the new list holds it.
    showInList(m_old && cmdSubmit->text() == UpdateCaption ? m_old->id : 0);
    lblPage_i->setText(m_dateShown.toString(QStringLiteral("dd/MM/yyyy")));
}

void frmTransaksi::refreshToToday()
{
    guardDb([this] {
        DoFirstSetPage();
        DoSetDNavigasi();
        DoGetList();
    });
}

void frmTransaksi::listAfterWrite(const QList<qint64>& added, qint64 changed, qint64 removed)
{
    const bool onToday = m_dateShown == m_dateToday && m_model->day() == m_dateShown &&
                         m_dateToday == QDate::currentDate();
    if (!onToday)
        return refreshToToday();
    guardDb([&] {
        DoFirstSetPage(); // the oldest sale may have been the one deleted
        DoSetDNavigasi();
        {
            const QScopedValueRollback<bool> quiet(m_syncingList, true);
            ++m_listVersion;
            for (const qint64 id : added)
                m_model->saleAdded(id);
            if (changed != 0)
                m_model->saleChanged(changed);
            if (removed != 0)
                m_model->saleRemoved(removed);
        }
        fitColumnsToText(dtGridTrans);
        showInList(m_old && cmdSubmit->text() == UpdateCaption ? m_old->id : 0);
    });
}

void frmTransaksi::dtGridTrans_RowColChange(const QModelIndex& current, const QModelIndex& previous)
{
    if (m_syncingList || !current.isValid())
        return;
    const qint64 listVersion = m_listVersion;
    if (!mayReplaceEntry()) {
        // Kept typing: the list goes back to the row it stood on, unless the
        // save rebuilt it.
        if (listVersion == m_listVersion) {
            const QScopedValueRollback<bool> quiet(m_syncingList, true);
            if (previous.isValid())
                dtGridTrans->selectionModel()->setCurrentIndex(
                    previous, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            else
                showInList(m_old ? m_old->id : 0);
        }
        return;
    }
    cekRefresh->setChecked(false);
    txtIDTrans->setText(m_model->value(current.row(), QStringLiteral("idsales")).toString());
    DoGetTrans(txtIDTrans->text());
    cmdSubmit->setText(UpdateCaption);
}

void frmTransaksi::dtGridTrans_Delete()
{
    const QModelIndex current = dtGridTrans->currentIndex();
    if (!current.isValid())
        return;
    if (m_model->value(current.row(), QStringLiteral("sales_status")).toInt() == 1) {
        Prompt::message(LockedText, EntryTitle, Prompt::Icon::Exclamation);
        dtGridTrans->setFocus();
        return;
    }
    if (Prompt::message(QStringLiteral("Yakin akan menghapus rekaman ini?"), DeleteTitle,
                        Prompt::Icon::Question, Prompt::Buttons::YesNo) != Prompt::Answer::Yes)
        return;
    const qint64 id = m_model->value(current.row(), QStringLiteral("idsales")).toLongLong();
    // What the customer paid for it goes back by the visit's method, in the
    // till's open shift.
    if (!ensureShift())
        return;
    const PaymentMethod method = methodOfSale(id);
    const std::optional<QString> reason =
        Reason::ask(QStringLiteral("menghapus penjualan ini"), DeleteTitle);
    if (!reason)
        return;
    VisitStore::Result result;
    double difference = 0;
    if (!guardDb([&] {
            const Trail::Reason why(*reason);
            result = VisitStore::deleteItem(id, method, m_idShift, m_receipt.roundingStep,
                                            &difference);
        }))
        return;
    if (result.shift != ShiftStore::Outcome::Done) {
        m_idShift = 0;
        Prompt::message(result.text(), DeleteTitle, Prompt::Icon::Exclamation);
        return;
    }
    const SalesStore::Outcome outcome = result.sale;
    if (outcome == SalesStore::Outcome::Locked) {
        Prompt::message(LockedText, EntryTitle, Prompt::Icon::Exclamation);
        return;
    }
    if (outcome == SalesStore::Outcome::Missing) {
        // Deleted by another till meanwhile: nothing was changed here.
        Prompt::message(GoneText, DeleteTitle, Prompt::Icon::Exclamation);
        refreshToToday();
        cmdNew_Click();
        return;
    }
    Prompt::message(QStringLiteral("Rekaman telah dihapus!"), DeleteTitle,
                    Prompt::Icon::Information);
    listAfterWrite({}, 0, id);
    cmdNew_Click();
    tellDifference(difference, method);
}

bool frmTransaksi::eventFilter(QObject* watched, QEvent* event)
{
    // In the visit's items: Delete takes the item out, Enter puts it back in
    // the editor to be changed and added again.
    if (watched == dtGridVisit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int row = dtGridVisit->currentIndex().row();
        if (row >= 0 && key == Qt::Key_Delete) {
            removeVisitItem(row);
            return true;
        }
        if (row >= 0 && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            editVisitItem(row);
            return true;
        }
    }
    if (watched == txtNoCust && m_savedNotice &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::FocusOut)) {
        // The first key after a save: an Enter acknowledges "Data telah
        // disimpan." as the box of old did; anything else is typed as usual.
        m_savedNotice = false;
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                !(key->modifiers() & ~Qt::KeypadModifier))
                return true;
        }
    }
    // Focus entering a list without a current row loads nothing: the view
    // would otherwise make its first row current and load that sale over
    // the editor.
    if (watched == dtGridTrans && event->type() == QEvent::FocusIn &&
        !dtGridTrans->currentIndex().isValid()) {
        dtGridTrans->viewport()->update();
        return true;
    }
    if (watched == dtGridTrans && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        dtGridTrans_Delete();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
