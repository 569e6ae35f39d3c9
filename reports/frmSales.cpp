#include "frmSales.h"

#include "core/Globals.h"
#include "core/Regional.h"
#include "reports/ReportOutput.h"
#include "ui/FileDialogs.h"
#include "ui/GridColumns.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using ReportStore::Mode;

namespace {

const QString Caption = QStringLiteral("Sales Report");
const QString NothingToPrint = QStringLiteral("Belum ada informasi yang akan dicetak!");

const QList<GridColumn>& columnsOf(Mode mode)
{
    using F = GridColumn::Format;
    static const QList<GridColumn> daily = {
        {QString(), 0, Qt::AlignLeft, F::Text}, // idsales
        // Wide enough for the longest name the customer register holds (25 characters).
        {QStringLiteral("Nama Cust."), 2800, Qt::AlignLeft, F::Text},
        {QStringLiteral("Mililiter"), 1000, Qt::AlignRight, F::Amount},
        {QStringLiteral("Value"), 1000, Qt::AlignRight, F::Amount},
    };
    static const QList<GridColumn> monthly = {
        {QStringLiteral("Tgl"), 800, Qt::AlignLeft, F::Text},
        {QStringLiteral("Mililiter"), 1200, Qt::AlignRight, F::Amount},
        {QStringLiteral("Value"), 1200, Qt::AlignRight, F::Amount},
    };
    static const QList<GridColumn> yearly = {
        {QStringLiteral("Bulan"), 1200, Qt::AlignLeft, F::Text},
        {QStringLiteral("Mililiter"), 1500, Qt::AlignRight, F::Amount},
        {QStringLiteral("Value"), 1500, Qt::AlignRight, F::Amount},
    };
    switch (mode) {
    case Mode::Daily: return daily;
    case Mode::Monthly: return monthly;
    case Mode::Yearly: break;
    }
    return yearly;
}

// The report lines as grid rows; the values stay numbers, the grid formats them.
RowSet gridRows(const ReportStore::Report& report)
{
    RowSet rs;
    const bool daily = report.period.mode() == Mode::Daily;
    if (daily)
        rs.columns = {QStringLiteral("idsales"), QStringLiteral("cust_nama"),
                      QStringLiteral("sales_mililiter"), QStringLiteral("sales_hargadiskon")};
    else
        rs.columns = {report.period.mode() == Mode::Monthly ? QStringLiteral("tgl")
                                                            : QStringLiteral("bulan"),
                      QStringLiteral("sales_mililiter"), QStringLiteral("sales_hargadiskon")};
    rs.rows.reserve(report.lines.size());
    for (const ReportStore::Line& l : report.lines) {
        if (daily)
            rs.rows << QVariantList{l.id, l.label, l.mililiter, l.value};
        else
            rs.rows << QVariantList{l.label, l.mililiter, l.value};
    }
    return rs;
}

QComboBox* dropDown(QWidget* parent, const QString& name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(false);
    return c;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

frmSales::frmSales(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSales"));
    setWindowTitle(Caption);
    DoApplyWindowLook(this);
    buildControls();
    InputConventions::install(this, InputRules{});

    connect(cmbTahun, &QComboBox::activated, this, [this] { cmbTahun_Click(); });
    connect(cmbBulan, &QComboBox::activated, this, [this] { cmbBulan_Click(); });
    connect(cmbTanggal, &QComboBox::activated, this, [this] { cmbTanggal_Click(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdPdf, &QPushButton::clicked, this, [this] { cmdPdf_Click(); });
    connect(cmdCsv, &QPushButton::clicked, this, [this] { cmdCsv_Click(); });
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::close);
    cmdPdf->installEventFilter(this);
    cmdCsv->installEventFilter(this);

    // The years that have sales and the current one, newest first.
    for (int year : ReportStore::years(QDate::currentDate().year()))
        cmbTahun->addItem(QString::number(year));
    cmbBulan->addItems(ReportLayout::monthNames());
    for (int day = 1; day <= 31; ++day)
        cmbTanggal->addItem(QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0')));
    cmbBulan->setCurrentIndex(-1);
    cmbTanggal->setCurrentIndex(-1);

    // Opens on the yearly report of the newest year: a month can be chosen at
    // once, a day only after a month. A failing query here leaves the window
    // unopened; the caller reports it.
    cmbTahun->setCurrentIndex(0);
    cmbTanggal->setEnabled(false);
    showPeriod();
    DoGetList();
    cmbTahun->setFocus();
}

void frmSales::buildControls()
{
    fraSalesDate = new QGroupBox(QStringLiteral("Sales Date"), this);
    fraSalesDate->setObjectName(QStringLiteral("fraSalesDate"));
    cmbTahun = dropDown(fraSalesDate, QStringLiteral("cmbTahun"));
    cmbBulan = dropDown(fraSalesDate, QStringLiteral("cmbBulan"));
    cmbTanggal = dropDown(fraSalesDate, QStringLiteral("cmbTanggal"));
    cmbTahun->setMinimumContentsLength(4);
    cmbBulan->setMinimumContentsLength(9);
    cmbTanggal->setMinimumContentsLength(2);
    auto* dates = new QGridLayout(fraSalesDate);
    dates->addWidget(label(fraSalesDate, QStringLiteral("lblTahun"), QStringLiteral("Tahun")), 0, 0);
    dates->addWidget(label(fraSalesDate, QStringLiteral("lblBulan"), QStringLiteral("Bulan")), 0, 1);
    dates->addWidget(label(fraSalesDate, QStringLiteral("lblTanggal"), QStringLiteral("Tanggal")),
                     0, 2);
    dates->addWidget(cmbTahun, 1, 0);
    dates->addWidget(cmbBulan, 1, 1);
    dates->addWidget(cmbTanggal, 1, 2);
    dates->setColumnStretch(3, 1);

    lblPreview_1 = label(this, QStringLiteral("lblPreview_1"), QString());
    lblPreview_2 = label(this, QStringLiteral("lblPreview_2"), QString());
    QFont strong = lblPreview_1->font();
    strong.setBold(true);
    lblPreview_1->setFont(strong);
    lblPreview_2->setFont(strong);
    auto* preview = new QHBoxLayout;
    preview->setSpacing(0);
    preview->addWidget(lblPreview_1);
    preview->addWidget(lblPreview_2);
    preview->addStretch(1);

    dtGridSales = new QTableView(this);
    dtGridSales->setObjectName(QStringLiteral("dtGridSales"));
    m_model = new RowSetModel(dtGridSales);
    setUpGrid(dtGridSales, m_model);
    dtGridSales->setMinimumHeight(240);

    lblJumlahml = label(this, QStringLiteral("lblJumlahml"), QStringLiteral("Jumlah ml :"));
    lblJumlahml_i = valueLabel(this, QStringLiteral("lblJumlahml_i"), Qt::AlignRight, 140);
    lblValue = label(this, QStringLiteral("lblValue"), QStringLiteral("Value :"));
    lblValue_i = valueLabel(this, QStringLiteral("lblValue_i"), Qt::AlignRight, 140);
    auto* totals = new QGridLayout;
    totals->addWidget(lblJumlahml, 0, 1, Qt::AlignRight);
    totals->addWidget(lblJumlahml_i, 0, 2);
    totals->addWidget(lblValue, 1, 1, Qt::AlignRight);
    totals->addWidget(lblValue_i, 1, 2);
    totals->setColumnStretch(0, 1);

    cmdPrint = namedButton(this, QStringLiteral("cmdPrint"), QStringLiteral("Print"));
    cmdPdf = namedButton(this, QStringLiteral("cmdPdf"), QStringLiteral("&PDF"));
    cmdCsv = namedButton(this, QStringLiteral("cmdCsv"), QStringLiteral("&CSV"));
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("Quit"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdPdf);
    buttons->addWidget(cmdCsv);
    buttons->addStretch(1);
    buttons->addWidget(cmdQuit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraSalesDate);
    layout->addLayout(preview);
    layout->addWidget(dtGridSales, 1);
    layout->addLayout(totals);
    layout->addLayout(buttons);
    resize(520, 520);

    setTabOrder(cmbTahun, cmbBulan);
    setTabOrder(cmbBulan, cmbTanggal);
    setTabOrder(cmbTanggal, dtGridSales);
    setTabOrder(dtGridSales, cmdPrint);
    setTabOrder(cmdPrint, cmdPdf);
    setTabOrder(cmdPdf, cmdCsv);
    setTabOrder(cmdCsv, cmdQuit);
}

bool frmSales::eventFilter(QObject* watched, QEvent* event)
{
    // Alt+P and Alt+C also take the focus to their button; the input conventions,
    // which see the event next, press it.
    if (event->type() == QEvent::Shortcut && (watched == cmdPdf || watched == cmdCsv)) {
        auto* b = static_cast<QPushButton*>(watched);
        if (b->isEnabled())
            b->setFocus(Qt::ShortcutFocusReason);
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Choosing the period ---------------------------------------------------

void frmSales::cmbTahun_Click()
{
    // A new year starts over from its yearly report: no month or day is left
    // chosen, and a day can again be chosen only after a month.
    cmbBulan->setCurrentIndex(-1);
    cmbTanggal->setCurrentIndex(-1);
    cmbTanggal->setEnabled(false);
    cmbBulan->setEnabled(true);
    showPeriod();
    refresh();
}

void frmSales::cmbBulan_Click()
{
    cmbTanggal->setCurrentIndex(-1);
    cmbTanggal->setEnabled(true);
    showPeriod();
    refresh();
}

void frmSales::cmbTanggal_Click()
{
    showPeriod();
    refresh();
}

ReportStore::Period frmSales::selectedPeriod() const
{
    ReportStore::Period p;
    p.year = cmbTahun->currentText().toInt();
    p.month = cmbBulan->currentIndex() + 1;
    p.day = p.month > 0 ? cmbTanggal->currentIndex() + 1 : 0;
    return p;
}

void frmSales::showPeriod()
{
    const ReportStore::Period p = selectedPeriod();
    lblPreview_1->setText(ReportLayout::title(p.mode()));
    lblPreview_2->setText(ReportLayout::periodWords(p));
}

void frmSales::refresh()
{
    if (guardDb([this] { DoGetList(); }))
        return;
    // Nothing of another period may stay under this period's title.
    m_report = ReportStore::Report{selectedPeriod(), {}, 0, 0};
    m_model->setRows(gridRows(m_report));
    lblJumlahml_i->clear();
    lblValue_i->clear();
}

void frmSales::DoGetList()
{
    const ReportStore::Period period = selectedPeriod();
    ReportStore::Report report = ReportStore::report(period);
    m_report = std::move(report);
    m_model->setRows(gridRows(m_report));
    applyGridColumns(dtGridSales, columnsOf(period.mode()));
    lblJumlahml_i->setText(Regional::amount(m_report.totalMililiter));
    lblValue_i->setText(Regional::amount(m_report.totalValue));
    if (m_model->rowCount() > 0)
        dtGridSales->setCurrentIndex(m_model->index(0, period.mode() == Mode::Daily ? 1 : 0));
}

// ---- The report on paper and in files ----------------------------------------

ReportLayout::Page frmSales::currentPage() const
{
    ReportLayout::Page page;
    page.mode = m_report.period.mode();
    page.title = lblPreview_1->text();
    page.period = lblPreview_2->text();
    page.user = LoginUserName;
    page.printedAt = QDateTime::currentDateTime();
    page.lines = m_report.lines;
    page.totalMililiter = m_report.totalMililiter;
    page.totalValue = m_report.totalValue;
    return page;
}

bool frmSales::reportIsEmpty() const
{
    if (m_model->rowCount() > 0)
        return false;
    Prompt::message(NothingToPrint, windowTitle(), Prompt::Icon::Critical);
    return true;
}

void frmSales::cmdPrint_Click()
{
    if (reportIsEmpty())
        return;
    const auto failure = ReportOutput::print(ReportLayout::pageDocument(currentPage()),
                                             ReportLayout::fileBaseName(m_report.period));
    if (failure)
        ReportOutput::reportPrintFailure(*failure);
}

void frmSales::cmdPdf_Click()
{
    if (reportIsEmpty())
        return;
    const QString path =
        ReportOutput::chooseFile(this, QStringLiteral("Simpan Laporan sebagai PDF"),
                                 ReportLayout::fileBaseName(m_report.period), QStringLiteral("pdf"),
                                 QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (const auto failure = ReportOutput::savePdf(ReportLayout::pageDocument(currentPage()), path))
        ReportOutput::reportWriteFailure(this, path, failure->description);
}

void frmSales::cmdCsv_Click()
{
    if (reportIsEmpty())
        return;
    const QString path =
        ReportOutput::chooseFile(this, QStringLiteral("Simpan Laporan sebagai CSV"),
                                 ReportLayout::fileBaseName(m_report.period), QStringLiteral("csv"),
                                 QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (const auto failure = ReportOutput::saveText(ReportLayout::csvText(currentPage()), path))
        ReportOutput::reportWriteFailure(this, path, failure->description);
}
