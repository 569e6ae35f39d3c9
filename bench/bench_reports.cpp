// The sales report window on the large database: opening it (with its year
// list), and the window's own refresh for a year, a month and a day.
#include "Bench.h"

#include "ScriptedPrompt.h"

#include "core/Db.h"
#include "reports/ReportStore.h"
#include "reports/frmSales.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QLabel>

#include <cstdio>

namespace {

// Picks an entry as a click on the box does.
void choose(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

int busiestYear()
{
    int best = 0;
    qint64 most = -1;
    for (int year : ReportStore::years(QDate::currentDate().year())) {
        const qint64 n = Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_sales "
                                                   "WHERE sales_date >= ? AND sales_date < ?"),
                                    {QString::number(year), QString::number(year + 1)})
                             .toLongLong();
        if (n > most) {
            most = n;
            best = year;
        }
    }
    std::printf("  busiest year %d: %lld sales\n", best, most);
    return best;
}

void reports()
{
    Bench::open(Bench::bigDatabase());
    ScriptedPrompt prompt;
    const int year = busiestYear();

    Bench::measure("year list (current year and years with sales)", 50,
                   [] { ReportStore::years(QDate::currentDate().year()); }, 5);
    Bench::measure(
        "open the report window (year list, newest year's report)", 15,
        [] {
            frmSales w;
            w.show();
            QCoreApplication::processEvents();
        },
        50);

    frmSales w;
    w.show();
    QCoreApplication::processEvents();
    const int yearIndex = w.cmbTahun->findText(QString::number(year));
    Bench::measure("window: yearly report of the busiest year (~200 000 sales)", 15,
                   [&] { choose(w.cmbTahun, yearIndex); }, 50);
    Bench::measure("window: monthly report (~17 000 sales)", 30,
                   [&] { choose(w.cmbBulan, 2); }, 50, [&] { choose(w.cmbTahun, yearIndex); });
    Bench::measure("window: daily report (~550 sales)", 30, [&] { choose(w.cmbTanggal, 14); }, 50,
                   [&] {
                       choose(w.cmbTahun, yearIndex);
                       choose(w.cmbBulan, 2);
                   });
    std::printf("  last daily report: %s, %s ml, %s\n", qPrintable(w.lblPreview_2->text()),
                qPrintable(w.lblJumlahml_i->text()), qPrintable(w.lblValue_i->text()));
}

} // namespace

BENCH_SUITE(reports);
