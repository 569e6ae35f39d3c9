#include "frmShiftTutup.h"

#include "core/Globals.h"
#include "payments/AmountFields.h"
#include "payments/ShiftReport.h"
#include "payments/ShiftStore.h"
#include "core/Regional.h"
#include "ui/GridColumns.h"
#include "ui/GridFit.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QString EntryTitle = QStringLiteral("Periksa Entri");
} // namespace

frmShiftTutup::frmShiftTutup(qint64 idShift, QWidget* parent)
    : QDialog(parent), m_idShift(idShift), m_model(new RowSetModel(this))
{
    setObjectName(QStringLiteral("frmShiftTutup"));
    setWindowTitle(QStringLiteral("Tutup Shift"));
    DoApplyWindowLook(this);

    lblShift_i = valueLabel(this, QStringLiteral("lblShift_i"), Qt::AlignLeft | Qt::AlignVCenter, 360);
    dtGridMetode = new QTableView(this);
    dtGridMetode->setObjectName(QStringLiteral("dtGridMetode"));
    setUpGrid(dtGridMetode, m_model);
    dtGridMetode->setMinimumHeight(150);
    lblModal_i = amountLabel(this, QStringLiteral("lblModal_i"));
    lblKasMasuk_i = amountLabel(this, QStringLiteral("lblKasMasuk_i"));
    lblKasKeluar_i = amountLabel(this, QStringLiteral("lblKasKeluar_i"));
    lblHarap_i = amountLabel(this, QStringLiteral("lblHarap_i"));
    txtHitung = amountBox(this, QStringLiteral("txtHitung"));
    lblSelisih_i = amountLabel(this, QStringLiteral("lblSelisih_i"));
    QFont bold = lblSelisih_i->font();
    bold.setBold(true);
    lblSelisih_i->setFont(bold);
    lblHarap_i->setFont(bold);
    cmdTutup = namedButton(this, QStringLiteral("cmdTutup"), QStringLiteral("&Tutup Shift"), 100);
    cmdCetak = namedButton(this, QStringLiteral("cmdCetak"), QStringLiteral("&Cetak"), 90);
    cmdPdf = namedButton(this, QStringLiteral("cmdPdf"), QStringLiteral("&PDF"), 70);
    cmdBatal = namedButton(this, QStringLiteral("cmdBatal"), QStringLiteral("Batal"), 90);

    auto* count = new QGridLayout;
    const QList<int>& values = ShiftStore::denominations();
    for (int i = 0; i < values.size(); ++i) {
        QLineEdit* e = namedLineEdit(this, QStringLiteral("txtPecahan_%1").arg(i),
                                     QStringLiteral("input_int"), 5);
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(70);
        connect(e, &QLineEdit::textEdited, this, [this] {
            m_fromPieces = true;
            countChanged();
        });
        txtPecahan << e;
        const int r = i % 5, c = (i / 5) * 2;
        count->addWidget(new QLabel(Regional::whole(values.at(i)) + QStringLiteral(" x"), this), r, c,
                         Qt::AlignRight);
        count->addWidget(e, r, c + 1);
    }

    auto* figures = new QGridLayout;
    int row = 0;
    const auto addFigure = [&](const QString& caption, QWidget* w) {
        figures->addWidget(new QLabel(caption, this), row, 0);
        figures->addWidget(w, row++, 1);
    };
    addFigure(QStringLiteral("Modal Kas :"), lblModal_i);
    addFigure(QStringLiteral("Kas Masuk :"), lblKasMasuk_i);
    addFigure(QStringLiteral("Kas Keluar :"), lblKasKeluar_i);
    addFigure(QStringLiteral("Tunai Seharusnya :"), lblHarap_i);
    addFigure(QStringLiteral("Tunai Dihitung :"), txtHitung);
    addFigure(QStringLiteral("Selisih :"), lblSelisih_i);

    auto* middle = new QHBoxLayout;
    middle->addLayout(count);
    middle->addSpacing(16);
    middle->addLayout(figures);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblShift_i);
    layout->addWidget(dtGridMetode);
    layout->addLayout(middle);
    layout->addLayout(buttonRow({cmdTutup, cmdCetak, cmdPdf, cmdBatal}));
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    InputConventions::install(this, wholeAmounts());
    connect(txtHitung, &QLineEdit::textEdited, this, [this] {
        m_fromPieces = false;
        countChanged();
    });
    connect(cmdTutup, &QPushButton::clicked, this, &frmShiftTutup::cmdTutup_Click);
    connect(cmdCetak, &QPushButton::clicked, this, [this] { emit printRequested(m_summary); });
    connect(cmdPdf, &QPushButton::clicked, this, [this] { emit pdfRequested(m_summary); });
    connect(cmdBatal, &QPushButton::clicked, this, &QDialog::reject);
    for (int i = 0; i + 1 < txtPecahan.size(); ++i)
        setTabOrder(txtPecahan.at(i), txtPecahan.at(i + 1));
    setTabOrder(txtPecahan.last(), txtHitung);
    setTabOrder(txtHitung, cmdTutup);

    guardDb([&] { m_summary = ShiftStore::summary(idShift); });
    showSummary();
    txtPecahan.first()->setFocus();
}

void frmShiftTutup::showSummary()
{
    const ShiftStore::Shift& s = m_summary.shift;
    lblShift_i->setText(QStringLiteral("%1 - %2 - dibuka %3%4 - %5 kunjungan")
                            .arg(s.till, s.openedBy, ShiftReport::moment(s.openedAt),
                                 s.closed ? QStringLiteral(", ditutup ") +
                                                ShiftReport::moment(s.closedAt)
                                          : QString())
                            .arg(m_summary.visits));
    RowSet rows;
    rows.columns = {QStringLiteral("metode"), QStringLiteral("penjualan"),
                    QStringLiteral("koreksi"), QStringLiteral("bersih")};
    for (const ShiftStore::MethodTakings& m : m_summary.methods)
        rows.rows << QVariantList{m.method, m.sales, m.corrections, m.net()};
    m_model->setRows(rows);
    applyGridColumns(dtGridMetode, {{QStringLiteral("Metode"), 1600},
                                    {QStringLiteral("Penjualan"), 1600, Qt::AlignRight,
                                     GridColumn::Format::Whole},
                                    {QStringLiteral("Koreksi/Refund"), 1600, Qt::AlignRight,
                                     GridColumn::Format::Whole},
                                    {QStringLiteral("Bersih"), 1600, Qt::AlignRight,
                                     GridColumn::Format::Whole}});
    fitColumnsToText(dtGridMetode);
    lblModal_i->setText(Regional::whole(s.opening));
    lblKasMasuk_i->setText(Regional::whole(m_summary.cashIn));
    lblKasKeluar_i->setText(Regional::whole(m_summary.cashOut));
    lblHarap_i->setText(Regional::amount(s.closed ? s.expected : m_summary.expectedCash()));
    if (s.closed) {
        txtHitung->setText(Regional::whole(s.counted));
        lblSelisih_i->setText(Regional::amount(s.difference));
        for (QLineEdit* e : txtPecahan)
            e->setReadOnly(true);
        txtHitung->setReadOnly(true);
        cmdTutup->setEnabled(false);
        setWindowTitle(QStringLiteral("Shift Ditutup"));
    } else {
        countChanged();
    }
    cmdCetak->setEnabled(s.closed);
    cmdPdf->setEnabled(s.closed);
}

QList<QPair<int, int>> frmShiftTutup::pieces() const
{
    QList<QPair<int, int>> list;
    const QList<int>& values = ShiftStore::denominations();
    for (int i = 0; i < values.size(); ++i)
        list << qMakePair(values.at(i), int(Regional::read(txtPecahan.at(i)->text())));
    return list;
}

void frmShiftTutup::countChanged()
{
    if (m_fromPieces)
        txtHitung->setText(Regional::whole(ShiftStore::countTotal(pieces())));
    const double difference = Regional::read(txtHitung->text()) - m_summary.expectedCash();
    lblSelisih_i->setText(Regional::amount(std::round(difference * 100) / 100));
    lblSelisih_i->setStyleSheet(difference < 0 ? QStringLiteral("color: rgb(170, 0, 0);")
                                               : QString());
}

void frmShiftTutup::cmdTutup_Click()
{
    if (txtHitung->text().trimmed().isEmpty()) {
        Prompt::message(QStringLiteral("Ketik uang tunai yang dihitung di laci."), EntryTitle,
                        Prompt::Icon::Critical);
        return txtPecahan.first()->setFocus();
    }
    if (Prompt::message(QStringLiteral("Tutup shift ini? Setelah ditutup shift tidak dapat "
                                       "diubah lagi."),
                        windowTitle(), Prompt::Icon::Question,
                        Prompt::Buttons::YesNo) != Prompt::Answer::Yes)
        return;
    ShiftStore::Outcome outcome = ShiftStore::Outcome::Done;
    const QString countText = m_fromPieces ? ShiftStore::countText(pieces()) : QString();
    if (!guardDb([&] {
            outcome = ShiftStore::close(m_idShift, Regional::read(txtHitung->text()), countText,
                                        &m_summary);
        }))
        return;
    if (outcome != ShiftStore::Outcome::Done) {
        Prompt::message(ShiftStore::refusalText(outcome), windowTitle(), Prompt::Icon::Exclamation);
        guardDb([&] { m_summary = ShiftStore::summary(m_idShift); });
        return showSummary();
    }
    showSummary();
    emit printRequested(m_summary);
}
