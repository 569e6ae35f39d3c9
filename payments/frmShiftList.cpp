#include "frmShiftList.h"

#include "payments/ShiftStore.h"
#include "ui/GridColumns.h"
#include "ui/GridFit.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

frmShiftList::frmShiftList(QWidget* parent) : QDialog(parent), m_model(new RowSetModel(this))
{
    setObjectName(QStringLiteral("frmShiftList"));
    setWindowTitle(QStringLiteral("Daftar Shift"));
    DoApplyWindowLook(this);

    const auto dateBox = [this](const QString& name, const QDate& date) {
        auto* d = new QDateEdit(date, this);
        d->setObjectName(name);
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        d->setCalendarPopup(true);
        return d;
    };
    const QDate today = QDate::currentDate();
    dtpDari = dateBox(QStringLiteral("dtpDari"), QDate(today.year(), today.month(), 1));
    dtpSampai = dateBox(QStringLiteral("dtpSampai"), today);
    cmdTampil = namedButton(this, QStringLiteral("cmdTampil"), QStringLiteral("&Tampilkan"), 90);
    dtGridShift = new QTableView(this);
    dtGridShift->setObjectName(QStringLiteral("dtGridShift"));
    setUpGrid(dtGridShift, m_model);
    dtGridShift->setMinimumSize(720, 300);
    cmdLihat = namedButton(this, QStringLiteral("cmdLihat"), QStringLiteral("&Lihat"), 90);
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("&Quit"), 90);

    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("Dari :"), this));
    period->addWidget(dtpDari);
    period->addWidget(new QLabel(QStringLiteral("Sampai :"), this));
    period->addWidget(dtpSampai);
    period->addWidget(cmdTampil);
    period->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addWidget(dtGridShift);
    layout->addLayout(buttonRow({cmdLihat, cmdQuit}));

    InputConventions::install(this, InputRules{});
    dtGridShift->installEventFilter(this);
    connect(cmdTampil, &QPushButton::clicked, this, &frmShiftList::DoGetList);
    connect(cmdLihat, &QPushButton::clicked, this, &frmShiftList::showChosen);
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    connect(dtGridShift, &QTableView::doubleClicked, this, &frmShiftList::showChosen);
    DoGetList();
}

bool frmShiftList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dtGridShift && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            showChosen();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmShiftList::DoGetList()
{
    RowSet rows;
    if (!guardDb([&] { rows = ShiftStore::list(dtpDari->date(), dtpSampai->date()); }))
        return;
    m_model->setRows(rows);
    using F = GridColumn::Format;
    applyGridColumns(dtGridShift, {{QStringLiteral("No."), 600, Qt::AlignRight},
                                   {QStringLiteral("Kasir"), 1400},
                                   {QStringLiteral("Dibuka"), 2600},
                                   {QStringLiteral("Oleh"), 1000},
                                   {QStringLiteral("Ditutup"), 2600},
                                   {QStringLiteral("Oleh"), 1000},
                                   {QStringLiteral("Modal"), 1500, Qt::AlignRight, F::Whole},
                                   {QStringLiteral("Seharusnya"), 1500, Qt::AlignRight, F::Amount},
                                   {QStringLiteral("Dihitung"), 1500, Qt::AlignRight, F::Whole},
                                   {QStringLiteral("Selisih"), 1500, Qt::AlignRight, F::Amount},
                                   {QString(), 0}});
    fitColumnsToText(dtGridShift);
    if (m_model->rowCount() > 0)
        dtGridShift->selectRow(0);
}

void frmShiftList::showChosen()
{
    const QModelIndex current = dtGridShift->currentIndex();
    if (!current.isValid())
        return;
    emit shiftChosen(m_model->value(current.row(), QStringLiteral("idshift")).toLongLong());
}
