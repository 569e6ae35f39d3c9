#include "frmJejak.h"

#include "core/Globals.h"
#include "core/Trail.h"
#include "ui/FileDialogs.h"
#include "ui/GridColumns.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString AllKinds = QStringLiteral("(semua)");

QList<GridColumn> trailColumns()
{
    return {
        {QString(), 0},
        {QStringLiteral("Waktu"), 2000},
        {QStringLiteral("User"), 1000},
        {QStringLiteral("Izin"), 1000},
        {QStringLiteral("Kasir"), 1400},
        {QStringLiteral("Jenis"), 1800},
        {QStringLiteral("Objek"), 2000},
        {QStringLiteral("Sebelum"), 3000},
        {QStringLiteral("Sesudah"), 3000},
        {QStringLiteral("Alasan"), 2400},
    };
}

QDateEdit* dateBox(QWidget* parent, const QString& name, const QDate& day)
{
    auto* e = new QDateEdit(day, parent);
    e->setObjectName(name);
    e->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    e->setCalendarPopup(true);
    return e;
}

} // namespace

frmJejak::frmJejak(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmJejak"));
    setWindowTitle(QStringLiteral("Jejak Perubahan"));
    DoApplyWindowLook(this);

    const QDate today = QDate::currentDate();
    dtpDari = dateBox(this, QStringLiteral("dtpDari"), QDate(today.year(), today.month(), 1));
    dtpSampai = dateBox(this, QStringLiteral("dtpSampai"), today);
    txtUser = namedLineEdit(this, QStringLiteral("txtUser"), QStringLiteral("input"), 8);
    cboJenis = new QComboBox(this);
    cboJenis->setObjectName(QStringLiteral("cboJenis"));
    cboJenis->addItem(AllKinds);
    cboJenis->addItems(Trail::kinds());
    cmdTampil = namedButton(this, QStringLiteral("cmdTampil"), QStringLiteral("&Tampilkan"), 90);

    static const char* const navCaptions[] = {"|<", "<", ">", ">|"};
    for (int i = 0; i < 4; ++i) {
        cmdNavigasi[i] = namedButton(this, QStringLiteral("cmdNavigasi_%1").arg(i),
                                     QString::fromLatin1(navCaptions[i]), 40);
        connect(cmdNavigasi[i], &QPushButton::clicked, this, [this, i] {
            const int last = pageCount() - 1;
            const int target = i == 0 ? 0 : i == 1 ? m_page - 1 : i == 2 ? m_page + 1 : last;
            guardDb([&] { DoGetPage(std::clamp(target, 0, std::max(last, 0))); });
        });
    }
    lblHalaman = pageLabel(this, QStringLiteral("lblHalaman"));

    dtGridJejak = new QTableView(this);
    dtGridJejak->setObjectName(QStringLiteral("dtGridJejak"));
    rsJejak = new RowSetModel(this);
    setUpGrid(dtGridJejak, rsJejak);

    cmdCSV = namedButton(this, QStringLiteral("cmdCSV"), QStringLiteral("Simpan &CSV"), 100);
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("&Quit"), 80);

    auto* filters = new QGridLayout;
    filters->addWidget(new QLabel(QStringLiteral("Dari :"), this), 0, 0);
    filters->addWidget(dtpDari, 0, 1);
    filters->addWidget(new QLabel(QStringLiteral("Sampai :"), this), 0, 2);
    filters->addWidget(dtpSampai, 0, 3);
    filters->addWidget(new QLabel(QStringLiteral("User :"), this), 1, 0);
    filters->addWidget(txtUser, 1, 1);
    filters->addWidget(new QLabel(QStringLiteral("Jenis :"), this), 1, 2);
    filters->addWidget(cboJenis, 1, 3);
    filters->addWidget(cmdTampil, 1, 4);

    auto* nav = new QHBoxLayout;
    for (QPushButton* b : cmdNavigasi)
        nav->addWidget(b);
    nav->addWidget(lblHalaman, 1);
    nav->addWidget(cmdCSV);
    nav->addWidget(cmdQuit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(dtGridJejak, 1);
    layout->addLayout(nav);
    resize(1000, 560);

    const QList<QWidget*> tabs{dtpDari, dtpSampai, txtUser, cboJenis, cmdTampil, dtGridJejak,
                               cmdCSV,  cmdQuit};
    for (int i = 0; i + 1 < tabs.size(); ++i)
        setTabOrder(tabs.at(i), tabs.at(i + 1));

    InputRules rules;
    rules.txtKeys = KeySet::UserName;
    InputConventions::install(this, rules);

    connect(cmdTampil, &QPushButton::clicked, this, [this] { guardDb([this] { DoGetList(); }); });
    connect(cmdCSV, &QPushButton::clicked, this, &frmJejak::cmdCSV_Click);
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);

    guardDb([this] { DoGetList(); });
    dtpDari->setFocus();
}

TrailStore::Filter frmJejak::filter() const
{
    TrailStore::Filter f;
    f.from = dtpDari->date();
    f.to = dtpSampai->date();
    f.author = txtUser->text().trimmed();
    if (cboJenis->currentIndex() > 0)
        f.kind = cboJenis->currentText();
    return f;
}

int frmJejak::pageSize() const
{
    return ListPageSize > 0 ? ListPageSize : 50;
}

int frmJejak::pageCount() const
{
    return int((m_count + pageSize() - 1) / pageSize());
}

void frmJejak::DoGetList()
{
    m_shown = filter();
    m_count = TrailStore::count(m_shown);
    DoGetPage(0);
}

void frmJejak::DoGetPage(int page)
{
    m_page = page;
    rsJejak->setRows(TrailStore::page(m_shown, page * pageSize(), pageSize()));
    applyGridColumns(dtGridJejak, trailColumns());
    const int pages = pageCount();
    showPageText(lblHalaman, QStringLiteral("Halaman %1 dari %2 (%3 baris)")
                                 .arg(pages == 0 ? 0 : page + 1)
                                 .arg(pages)
                                 .arg(m_count));
    cmdNavigasi[0]->setEnabled(page > 0);
    cmdNavigasi[1]->setEnabled(page > 0);
    cmdNavigasi[2]->setEnabled(page + 1 < pages);
    cmdNavigasi[3]->setEnabled(page + 1 < pages);
}

void frmJejak::cmdCSV_Click()
{
    const TrailStore::Filter f = filter();
    const QString name = QStringLiteral("jejak-%1-%2.csv")
                             .arg(f.from.toString(QStringLiteral("yyyyMMdd")),
                                  f.to.toString(QStringLiteral("yyyyMMdd")));
    const QString path = FileDialogs::saveFileName(
        this, QStringLiteral("Simpan Jejak Perubahan sebagai CSV"),
        QDir(FileDialogs::startFolder()).filePath(name), QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    FileDialogs::remember(path);
    QString problem;
    if (!guardDb([&] { problem = TrailStore::saveCsv(f, path); }))
        return;
    if (!problem.isEmpty())
        Prompt::message(QStringLiteral("Jejak tidak dapat disimpan ke %1: %2").arg(path, problem),
                        windowTitle(), Prompt::Icon::Critical);
    else
        Prompt::message(QStringLiteral("Jejak telah disimpan ke %1.").arg(path), windowTitle(),
                        Prompt::Icon::Information);
}
