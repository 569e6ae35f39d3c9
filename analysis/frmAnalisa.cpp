#include "frmAnalisa.h"

#include "analysis/AnalysisOutput.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "core/Rights.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QLocale>
#include <QValueAxis>
#include <QVBoxLayout>

using AnalysisStore::Figure;
using AnalysisStore::Grouping;
using AnalysisStore::Range;

namespace {

const QStringList Picks = {QStringLiteral("Hari ini"), QStringLiteral("Minggu ini"),
                           QStringLiteral("Bulan ini"), QStringLiteral("Bulan lalu"),
                           QStringLiteral("Tahun ini"), QStringLiteral("Pilih tanggal")};
const QList<std::pair<QString, Grouping>> Groupings = {
    {QStringLiteral("Variant"), Grouping::Variant},
    {QStringLiteral("Tipe Botol"), Grouping::Bottle},
    {QStringLiteral("Kasir"), Grouping::Cashier},
    {QStringLiteral("Cara Bayar"), Grouping::Payment},
    {QStringLiteral("Customer"), Grouping::Customer},
    {QStringLiteral("Hari"), Grouping::Weekday},
    {QStringLiteral("Jam"), Grouping::Hour},
};
constexpr int TopVariants = 10;

QVariant noNumber()
{
    return QVariant(QMetaType::fromType<double>());
}

// Change from `before` to `now` in percent; none when there was nothing before.
QVariant change(double now, double before)
{
    return before != 0 ? QVariant((now - before) / std::abs(before) * 100.0) : noNumber();
}

QChartView* chartView(QWidget* parent, const QString& name, const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 220);
    return view;
}

// Bars of `values` under `labels`, in place of what the chart showed.
void showBars(QChart* chart, const QString& title, const QStringList& labels,
              const QList<double>& values)
{
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis), delete axis;
    chart->setTitle(title);
    auto* set = new QBarSet(QStringLiteral("Penjualan"));
    double top = 0;
    for (double v : values) {
        *set << v;
        top = std::max(top, v);
    }
    auto* series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(labels);
    // Labels stand upright when side by side they would not fit (and be cut to "...").
    qsizetype longest = 0;
    for (const QString& l : labels)
        longest = std::max(longest, l.size());
    x->setLabelsAngle(labels.size() * longest > 40 ? -90 : 0);
    auto* y = new QValueAxis;
    // Whole rupiah with the shop's digit grouping (12.500.000); round steps.
    // With nothing sold the axis still reads 0, 1, 2 ... rather than 0, 0, 1, 1.
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::Indonesian, QLocale::Indonesia));
    y->setLabelFormat(QStringLiteral("%.0f"));
    if (top > 0) {
        y->setRange(0, top * 1.05);
        y->applyNiceNumbers();
    } else {
        y->setRange(0, 4);
        y->setTickCount(5);
    }
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
}

} // namespace

frmAnalisa::frmAnalisa(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAnalisa"));
    setWindowTitle(QStringLiteral("Analisa Penjualan"));
    DoApplyWindowLook(this);
    m_cost = Rights::may(Rights::Action::SeeCost);

    cmbPilih = new QComboBox(this);
    cmbPilih->setObjectName(QStringLiteral("cmbPilih"));
    cmbPilih->addItems(Picks);
    dtpDari = new QDateEdit(this);
    dtpDari->setObjectName(QStringLiteral("dtpDari"));
    dtpSampai = new QDateEdit(this);
    dtpSampai->setObjectName(QStringLiteral("dtpSampai"));
    for (QDateEdit* d : {dtpDari, dtpSampai}) {
        d->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
        d->setCalendarPopup(true);
    }
    cmbKelompok = new QComboBox(this);
    cmbKelompok->setObjectName(QStringLiteral("cmbKelompok"));
    for (const auto& g : Groupings)
        cmbKelompok->addItem(g.first);
    spnTop = new QSpinBox(this);
    spnTop->setObjectName(QStringLiteral("spnTop"));
    spnTop->setRange(1, 1000);
    spnTop->setValue(20);
    cmdTampil = namedButton(this, QStringLiteral("cmdTampil"), QStringLiteral("&Tampilkan"), 90);

    dtGridAnalisa = new QTableView(this);
    dtGridAnalisa->setObjectName(QStringLiteral("dtGridAnalisa"));
    m_model = new RowSetModel(this);
    setUpGrid(dtGridAnalisa, m_model);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    dtGridAnalisa->setModel(m_sorted);
    dtGridAnalisa->setSortingEnabled(true);
    dtGridAnalisa->setTabKeyNavigation(false);
    lblTotal_i = new QLabel(this);
    lblTotal_i->setObjectName(QStringLiteral("lblTotal_i"));
    lblLalu_i = new QLabel(this);
    lblLalu_i->setObjectName(QStringLiteral("lblLalu_i"));
    chvPenjualan = chartView(this, QStringLiteral("chvPenjualan"), QStringLiteral("Penjualan"));
    chvVariant = chartView(this, QStringLiteral("chvVariant"), QStringLiteral("Variant teratas"));
    cmdPdf = namedButton(this, QStringLiteral("cmdPdf"), QStringLiteral("P&DF"), 80);
    cmdCsv = namedButton(this, QStringLiteral("cmdCsv"), QStringLiteral("&CSV"), 80);
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("Quit"), 80);

    auto* period = new QGridLayout;
    period->addWidget(new QLabel(QStringLiteral("Periode"), this), 0, 0);
    period->addWidget(cmbPilih, 0, 1);
    period->addWidget(new QLabel(QStringLiteral("Dari"), this), 0, 2);
    period->addWidget(dtpDari, 0, 3);
    period->addWidget(new QLabel(QStringLiteral("Sampai"), this), 0, 4);
    period->addWidget(dtpSampai, 0, 5);
    period->addWidget(new QLabel(QStringLiteral("Menurut"), this), 1, 0);
    period->addWidget(cmbKelompok, 1, 1);
    period->addWidget(new QLabel(QStringLiteral("Customer teratas"), this), 1, 2);
    period->addWidget(spnTop, 1, 3);
    period->addWidget(cmdTampil, 1, 5);
    period->setColumnStretch(6, 1);

    auto* charts = new QHBoxLayout;
    charts->addWidget(chvPenjualan, 3);
    charts->addWidget(chvVariant, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addWidget(dtGridAnalisa, 2);
    layout->addWidget(lblTotal_i);
    layout->addWidget(lblLalu_i);
    layout->addLayout(charts, 2);
    layout->addLayout(buttonRow({cmdPdf, cmdCsv, cmdQuit}));
    resize(980, 720);

    setTabOrder(cmbPilih, dtpDari);
    setTabOrder(dtpDari, dtpSampai);
    setTabOrder(dtpSampai, cmbKelompok);
    setTabOrder(cmbKelompok, spnTop);
    setTabOrder(spnTop, cmdTampil);
    setTabOrder(cmdTampil, dtGridAnalisa);
    setTabOrder(dtGridAnalisa, cmdPdf);
    setTabOrder(cmdPdf, cmdCsv);
    setTabOrder(cmdCsv, cmdQuit);
    InputConventions::install(this, InputRules{});

    connect(cmbPilih, &QComboBox::activated, this, [this](int pick) {
        if (pick >= Picks.size() - 1)
            return; // the dates as typed
        const Range r = quickRange(pick, QDate::currentDate());
        m_picking = true;
        dtpDari->setDate(r.from);
        dtpSampai->setDate(r.to);
        m_picking = false;
        refresh();
    });
    for (QDateEdit* d : {dtpDari, dtpSampai})
        connect(d, &QDateEdit::dateChanged, this, [this] {
            if (!m_picking)
                cmbPilih->setCurrentIndex(int(Picks.size()) - 1);
        });
    connect(cmbKelompok, &QComboBox::activated, this, [this] { refresh(); });
    connect(cmdTampil, &QPushButton::clicked, this, [this] { refresh(); });
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdCsv, &QPushButton::clicked, this, [this] {
        if (m_model->rowCount() == 0) {
            Prompt::message(QStringLiteral("Belum ada informasi yang akan disimpan!"),
                            windowTitle(), Prompt::Icon::Critical);
            return;
        }
        const QString path =
            ReportOutput::chooseFile(this, QStringLiteral("Simpan Analisa sebagai CSV"), fileBase(),
                                     QStringLiteral("csv"), QStringLiteral("CSV (*.csv)"));
        if (path.isEmpty())
            return;
        if (const auto f = ReportOutput::saveText(
                AnalysisOutput::csvText(AnalysisOutput::fromGrid(dtGridAnalisa, columns())), path))
            ReportOutput::reportWriteFailure(this, path, f->description);
    });
    connect(cmdPdf, &QPushButton::clicked, this, [this] {
        if (m_model->rowCount() == 0) {
            Prompt::message(QStringLiteral("Belum ada informasi yang akan disimpan!"),
                            windowTitle(), Prompt::Icon::Critical);
            return;
        }
        const QString path =
            ReportOutput::chooseFile(this, QStringLiteral("Simpan Analisa sebagai PDF"), fileBase(),
                                     QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"));
        if (path.isEmpty())
            return;
        AnalysisOutput::Sheet sheet = AnalysisOutput::fromGrid(dtGridAnalisa, columns());
        sheet.heading = {QStringLiteral("Analisa Penjualan menurut ") + cmbKelompok->currentText(),
                         QStringLiteral("Periode %1 s/d %2")
                             .arg(range().from.toString(QStringLiteral("dd-MM-yyyy")),
                                  range().to.toString(QStringLiteral("dd-MM-yyyy"))),
                         QStringLiteral("Dicetak oleh %1, %2")
                             .arg(LoginUserName, QDateTime::currentDateTime().toString(
                                                     QStringLiteral("dd-MM-yyyy HH:mm:ss"))),
                         lblTotal_i->text(), lblLalu_i->text()};
        if (const auto f = AnalysisOutput::savePdf(sheet, path, chvPenjualan))
            ReportOutput::reportWriteFailure(this, path, f->description);
    });

    cmbPilih->setCurrentIndex(2);
    const Range month = quickRange(2, QDate::currentDate());
    m_picking = true;
    dtpDari->setDate(month.from);
    dtpSampai->setDate(month.to);
    m_picking = false;
    refresh();
}

Range frmAnalisa::quickRange(int pick, const QDate& today)
{
    const QDate monthStart(today.year(), today.month(), 1);
    switch (pick) {
    case 0: return {today, today};
    case 1: return {today.addDays(1 - today.dayOfWeek()), today};
    case 2: return {monthStart, today};
    case 3: return {monthStart.addMonths(-1), monthStart.addDays(-1)};
    case 4: return {QDate(today.year(), 1, 1), today};
    default: break;
    }
    return {today, today};
}

Range frmAnalisa::range() const
{
    return {dtpDari->date(), dtpSampai->date()};
}

Grouping frmAnalisa::grouping() const
{
    const int i = std::clamp(cmbKelompok->currentIndex(), 0, int(Groupings.size()) - 1);
    return Groupings.at(i).second;
}

QString frmAnalisa::fileBase() const
{
    return QStringLiteral("analisa-%1-%2-%3")
        .arg(cmbKelompok->currentText().toLower().replace(QLatin1Char(' '), QLatin1Char('-')),
             Regional::dateText(range().from), Regional::dateText(range().to));
}

QList<GridColumn> frmAnalisa::columns() const
{
    using F = GridColumn::Format;
    const int costWidth = m_cost ? 1300 : 0;
    return {{QString(), 0, Qt::AlignLeft, F::Text},
            {cmbKelompok->currentText(), 2600, Qt::AlignLeft, F::Text},
            {QStringLiteral("Jumlah"), 900, Qt::AlignRight, F::Whole},
            {QStringLiteral("Mililiter"), 1200, Qt::AlignRight, F::Amount},
            {QStringLiteral("Penjualan"), 1500, Qt::AlignRight, F::Amount},
            {QStringLiteral("Tahun lalu"), 1500, Qt::AlignRight, F::Amount},
            {QStringLiteral("Perubahan %"), 1200, Qt::AlignRight, F::Amount},
            {QStringLiteral("Pokok"), costWidth, Qt::AlignRight, F::Amount},
            {QStringLiteral("Margin"), costWidth, Qt::AlignRight, F::Amount},
            {QStringLiteral("Margin %"), m_cost ? 1000 : 0, Qt::AlignRight, F::Amount}};
}

void frmAnalisa::refresh()
{
    if (!range().isValid()) {
        Prompt::message(QStringLiteral("Tanggal \"Dari\" harus sebelum atau sama dengan "
                                       "tanggal \"Sampai\"."),
                        QStringLiteral("Periksa Entri"), Prompt::Icon::Critical);
        dtpDari->setFocus();
        return;
    }
    if (guardDb([this] { DoGetList(); }))
        return;
    m_model->setRows(RowSet{});
    lblTotal_i->clear();
    lblLalu_i->clear();
}

void frmAnalisa::DoGetList()
{
    const Range now = range();
    const Range before = now.yearBefore();
    const Grouping g = grouping();
    const int top = g == Grouping::Customer ? spnTop->value() : 0;
    const QList<Figure> current = AnalysisStore::figures(g, now, top);
    QHash<QString, double> earlier;
    // The customers of this period only: the year before may hold many more.
    QList<qint64> shown;
    if (g == Grouping::Customer) {
        for (const Figure& f : current)
            shown << f.key.toLongLong();
        if (shown.isEmpty())
            shown << -1;
    }
    for (const Figure& f : AnalysisStore::figures(g, before, 0, shown))
        earlier.insert(f.key, f.total);

    RowSet rows;
    rows.columns = {QStringLiteral("kunci"), QStringLiteral("nama"), QStringLiteral("jumlah"),
                    QStringLiteral("ml"), QStringLiteral("total"), QStringLiteral("lalu"),
                    QStringLiteral("perubahan"), QStringLiteral("pokok"), QStringLiteral("margin"),
                    QStringLiteral("marginpersen")};
    const bool costs = m_cost && g != Grouping::Payment;
    for (const Figure& f : current) {
        const double lalu = earlier.value(f.key);
        const double margin = f.total - f.pokok;
        rows.rows << QVariantList{f.key,
                                  f.name,
                                  f.count,
                                  f.ml,
                                  f.total,
                                  lalu,
                                  change(f.total, lalu),
                                  costs ? QVariant(f.pokok) : noNumber(),
                                  costs ? QVariant(margin) : noNumber(),
                                  costs && f.total != 0 ? QVariant(margin / f.total * 100.0)
                                                        : noNumber()};
    }
    m_sorted->sort(-1);
    m_model->setRows(rows);
    applyGridColumns(dtGridAnalisa, columns());

    // The period's totals come from its days, so they hold whatever the grouping.
    const QList<AnalysisStore::DayTotal> days = AnalysisStore::days(now);
    double total = 0, pokok = 0;
    qint64 count = 0;
    for (const auto& d : days) {
        total += d.total;
        pokok += d.pokok;
        count += d.count;
    }
    double totalBefore = 0;
    for (const auto& d : AnalysisStore::days(before))
        totalBefore += d.total;
    QString text = QStringLiteral("Penjualan: %1 dari %2 item")
                       .arg(Regional::amount(total), Regional::whole(double(count)));
    if (m_cost)
        text += QStringLiteral("   Pokok: %1   Margin: %2")
                    .arg(Regional::amount(pokok), Regional::amount(total - pokok));
    lblTotal_i->setText(text);
    const QVariant ch = change(total, totalBefore);
    lblLalu_i->setText(QStringLiteral("Periode yang sama tahun lalu: %1%2")
                           .arg(Regional::amount(totalBefore),
                                ch.isNull() ? QString()
                                            : QStringLiteral(" (perubahan %1%)")
                                                  .arg(Regional::amount(ch.toDouble()))));

    // The charts.
    QStringList labels;
    QList<double> values;
    if (now.from.daysTo(now.to) < 62) {
        QHash<QDate, double> byDay;
        for (const auto& d : days)
            byDay.insert(d.day, d.total);
        for (QDate d = now.from; d <= now.to; d = d.addDays(1)) {
            labels << d.toString(QStringLiteral("dd-MM"));
            values << byDay.value(d);
        }
        showBars(chvPenjualan->chart(), QStringLiteral("Penjualan per hari"), labels, values);
    } else {
        for (const auto& m : AnalysisStore::months(days)) {
            labels << m.month;
            values << m.total;
        }
        showBars(chvPenjualan->chart(), QStringLiteral("Penjualan per bulan"), labels, values);
    }
    const QList<Figure> variants = g == Grouping::Variant
                                       ? current
                                       : AnalysisStore::figures(Grouping::Variant, now, TopVariants);
    labels.clear();
    values.clear();
    for (int i = 0; i < std::min<int>(TopVariants, int(variants.size())); ++i) {
        labels << variants.at(i).name.section(QLatin1Char(' '), 0, 0);
        values << variants.at(i).total;
    }
    showBars(chvVariant->chart(), QStringLiteral("%1 variant teratas").arg(labels.size()), labels,
             values);
}
