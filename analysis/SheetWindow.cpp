#include "SheetWindow.h"

#include "analysis/AnalysisStore.h"
#include "analysis/LowStock.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "ui/GridFit.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QString NothingToGive = QStringLiteral("Belum ada informasi yang akan dicetak!");

QString printedLine()
{
    return QStringLiteral("Dicetak oleh %1, %2")
        .arg(LoginUserName,
             QDateTime::currentDateTime().toString(QStringLiteral("dd-MM-yyyy HH:mm:ss")));
}
} // namespace

SheetWindow::SheetWindow(const QString& name, const QString& caption, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    DoApplyWindowLook(this);
    dtGridList = new QTableView(this);
    dtGridList->setObjectName(QStringLiteral("dtGridList"));
    m_model = new RowSetModel(this);
    setUpGrid(dtGridList, m_model);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    dtGridList->setModel(m_sorted);
    dtGridList->setSortingEnabled(true);
    dtGridList->setTabKeyNavigation(false);
    lblTotal_i = new QLabel(this);
    lblTotal_i->setObjectName(QStringLiteral("lblTotal_i"));
    cmdPrint = namedButton(this, QStringLiteral("cmdPrint"), QStringLiteral("&Print"), 80);
    cmdPdf = namedButton(this, QStringLiteral("cmdPdf"), QStringLiteral("P&DF"), 80);
    cmdCsv = namedButton(this, QStringLiteral("cmdCsv"), QStringLiteral("&CSV"), 80);
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("Quit"), 80);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dtGridList, 1);
    layout->addWidget(lblTotal_i);
    layout->addLayout(buttonRow({cmdPrint, cmdPdf, cmdCsv, cmdQuit}));
    resize(760, 480);

    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        if (nothingToGive())
            return;
        if (const auto f = ReportOutput::print(AnalysisOutput::document(sheet()), m_fileBase))
            ReportOutput::reportPrintFailure(*f);
    });
    connect(cmdPdf, &QPushButton::clicked, this, [this] {
        if (nothingToGive())
            return;
        const QString path =
            ReportOutput::chooseFile(this, QStringLiteral("Simpan sebagai PDF"), m_fileBase,
                                     QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty())
            if (const auto f = AnalysisOutput::savePdf(sheet(), path))
                ReportOutput::reportWriteFailure(this, path, f->description);
    });
    connect(cmdCsv, &QPushButton::clicked, this, [this] {
        if (nothingToGive())
            return;
        const QString path =
            ReportOutput::chooseFile(this, QStringLiteral("Simpan sebagai CSV"), m_fileBase,
                                     QStringLiteral("csv"), QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty())
            if (const auto f = ReportOutput::saveText(AnalysisOutput::csvText(sheet()), path))
                ReportOutput::reportWriteFailure(this, path, f->description);
    });
    InputConventions::install(this, InputRules{});
}

void SheetWindow::setSheet(const QStringList& heading, const QList<GridColumn>& columns,
                           const RowSet& rows, const QString& totals, const QString& fileBase)
{
    m_heading = heading;
    m_columns = columns;
    m_fileBase = fileBase;
    m_model->setRows(rows);
    applyGridColumns(dtGridList, columns);
    lblTotal_i->setText(totals);
    // Wide enough to show every column whole, as far as the screen allows.
    const QMargins m = layout()->contentsMargins();
    int want = gridWidthFor(dtGridList) + m.left() + m.right();
    if (const QScreen* s = screen())
        want = std::min(want, s->availableGeometry().width() - 40);
    if (want > width())
        resize(want, height());
}

bool SheetWindow::nothingToGive()
{
    if (m_model->rowCount() > 0)
        return false;
    Prompt::message(NothingToGive, windowTitle(), Prompt::Icon::Critical);
    return true;
}

AnalysisOutput::Sheet SheetWindow::sheet() const
{
    AnalysisOutput::Sheet s = AnalysisOutput::fromGrid(dtGridList, m_columns);
    s.heading = m_heading;
    s.heading << printedLine();
    if (!lblTotal_i->text().isEmpty())
        s.heading << lblTotal_i->text();
    return s;
}

// ---- Reorder list -------------------------------------------------------------

frmPesanUlang::frmPesanUlang(QWidget* parent)
    : SheetWindow(QStringLiteral("frmPesanUlang"), QStringLiteral("Daftar Pesan Ulang"), parent)
{
    guardDb([this] { DoGetList(); });
}

void frmPesanUlang::DoGetList()
{
    using F = GridColumn::Format;
    const QList<LowStock::ReorderLine> lines = LowStock::reorderList(QDate::currentDate());
    RowSet rows;
    rows.columns = {QStringLiteral("jenis"), QStringLiteral("kode"), QStringLiteral("nama"),
                    QStringLiteral("stock"), QStringLiteral("minimum"),
                    QStringLiteral("perhari"), QStringLiteral("sisahari")};
    for (const LowStock::ReorderLine& l : lines)
        rows.rows << QVariantList{l.jenis, l.kode, l.nama, l.stock, l.minimum, l.perDay,
                                  l.daysLeft ? QVariant(*l.daysLeft)
                                             : QVariant(QMetaType::fromType<double>())};
    setSheet({QStringLiteral("Daftar Pesan Ulang")},
             {{QStringLiteral("Jenis"), 900, Qt::AlignLeft, F::Text},
              {QStringLiteral("Kode"), 1200, Qt::AlignLeft, F::Text},
              {QStringLiteral("Nama"), 2200, Qt::AlignLeft, F::Text},
              {QStringLiteral("Stock"), 1100, Qt::AlignRight, F::Amount},
              {QStringLiteral("Minimum"), 1100, Qt::AlignRight, F::Amount},
              {QStringLiteral("Rata-rata/hari"), 1300, Qt::AlignRight, F::Amount},
              {QStringLiteral("Sisa hari"), 1100, Qt::AlignRight, F::Amount}},
             rows,
             lines.isEmpty() ? QStringLiteral("Tidak ada stok di bawah minimum.")
                             : QStringLiteral("%1 item di bawah minimum (rata-rata penjualan "
                                              "30 hari terakhir).")
                                   .arg(lines.size()),
             QStringLiteral("pesan-ulang-") + Regional::today());
}

// ---- Stock valuation ------------------------------------------------------------

frmNilaiStok::frmNilaiStok(QWidget* parent)
    : SheetWindow(QStringLiteral("frmNilaiStok"), QStringLiteral("Nilai Stok"), parent)
{
    guardDb([this] { DoGetList(); });
}

void frmNilaiStok::DoGetList()
{
    using F = GridColumn::Format;
    const QList<AnalysisStore::Valuation> items = AnalysisStore::stockValuation();
    RowSet rows;
    rows.columns = {QStringLiteral("jenis"), QStringLiteral("kode"), QStringLiteral("nama"),
                    QStringLiteral("stock"), QStringLiteral("pokok"), QStringLiteral("nilai")};
    double total = 0;
    for (const AnalysisStore::Valuation& v : items) {
        rows.rows << QVariantList{v.jenis, v.kode, v.nama, v.stock, v.pokok, v.nilai};
        total += v.nilai;
    }
    setSheet({QStringLiteral("Nilai Stok")},
             {{QStringLiteral("Jenis"), 900, Qt::AlignLeft, F::Text},
              {QStringLiteral("Kode"), 1200, Qt::AlignLeft, F::Text},
              {QStringLiteral("Nama"), 2200, Qt::AlignLeft, F::Text},
              {QStringLiteral("Stock"), 1100, Qt::AlignRight, F::Amount},
              {QStringLiteral("Harga pokok"), 1200, Qt::AlignRight, F::Amount},
              {QStringLiteral("Nilai"), 1500, Qt::AlignRight, F::Amount}},
             rows, QStringLiteral("Nilai stok seluruhnya: ") + Regional::amount(total),
             QStringLiteral("nilai-stok-") + Regional::today());
}
