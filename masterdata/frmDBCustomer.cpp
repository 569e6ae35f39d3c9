#include "frmDBCustomer.h"

#include "masterdata/RegisterStore.h"
#include "masterdata/RegisterTexts.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Paging.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>


namespace {
RegisterList customerList()
{
    return {QStringLiteral("dtGridCustomers"),
            {
                {QString(), 0},
                {QStringLiteral("Kode"), 800},
                {QStringLiteral("Nama"), 1600},
                {QStringLiteral("Alamat"), 2600},
                {QStringLiteral("No.Telp"), 1300},
                {QString(), 0},
                {QString(), 0},
            },
            RegisterStore::customerKeys(),
            QStringLiteral("idcust"),
            QStringLiteral("cust_nama"),
            QStringLiteral("Nomor customer")};
}
constexpr int AddressLength = 200;
constexpr int LetterCount = 27;
} // namespace

frmDBCustomer::frmDBCustomer(QWidget* parent)
    : RegisterWindow(QStringLiteral("frmDBCustomer"), customerList(), parent)
{
    fraCustomer = new QGroupBox(QStringLiteral("Data Customer"), this);
    fraCustomer->setObjectName(QStringLiteral("fraCustomer"));
    txtNoCust =
        namedLineEdit(fraCustomer, QStringLiteral("txtNoCust"), QStringLiteral("input"), 12);
    txtNama =
        namedLineEdit(fraCustomer, QStringLiteral("txtNama"), QStringLiteral("input_str"), 25);
    // One line, so Enter moves on as in every other box and no line break is
    // ever stored; the 200 characters scroll within the box.
    txtAlamat = namedLineEdit(fraCustomer, QStringLiteral("txtAlamat"), QStringLiteral("input"),
                              AddressLength);
    txtNoTelp =
        namedLineEdit(fraCustomer, QStringLiteral("txtNoTelp"), QStringLiteral("input_int"), 15);
    fitWidth(txtNoCust, QString(12, QLatin1Char('M')), 110);
    txtNama->setFixedWidth(200);
    fitWidth(txtNoTelp, QString(15, QLatin1Char('0')), 130);

    auto* form = new QGridLayout(fraCustomer);
    form->addWidget(new QLabel(QStringLiteral("Kode :"), fraCustomer), 0, 0);
    form->addWidget(txtNoCust, 0, 1, Qt::AlignLeft);
    form->addWidget(new QLabel(QStringLiteral("Nama :"), fraCustomer), 1, 0);
    form->addWidget(txtNama, 1, 1, Qt::AlignLeft);
    form->addWidget(new QLabel(QStringLiteral("Alamat :"), fraCustomer), 2, 0);
    form->addWidget(txtAlamat, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("No. Telp :"), fraCustomer), 3, 0);
    form->addWidget(txtNoTelp, 3, 1, Qt::AlignLeft);
    form->setColumnStretch(1, 1);

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
    paintLetters(-1);

    connect(txtNoCust, &QLineEdit::textChanged, this,
            [this](const QString& text) { guardDb([&] { DoGetCustomer(text); }); });

    // The telephone number is kept as typed: filtered keys only, no "0" when
    // emptied, no grouping, points kept.
    InputRules rules;
    rules.intKeys = InputRules::NumberKeys::Phone;
    rules.intFormat = InputRules::NumberFormat::None;
    rules.intZeroWhenEmpty = false;
    rules.intStripPoints = false;
    rules.strKeys = KeySet::Letters;
    assemble(fraCustomer, {txtNoCust, txtNama, txtAlamat, txtNoTelp}, rules, letters);
}

void frmDBCustomer::DoFirstSetNav()
{
    NavRecordCount = RegisterStore::countCustomers(RegisterStore::customerLetter(selAbjad));
}

RowSet frmDBCustomer::readPage(const PagePlan& plan)
{
    return RegisterStore::customerPage(RegisterStore::customerLetter(selAbjad), plan);
}

QString frmDBCustomer::pageCaption() const
{
    return NavPageLabel() + QStringLiteral(": Data Customer");
}

void frmDBCustomer::DoGetCustomer(const QString& number)
{
    const std::optional<RegisterStore::Customer> found = RegisterStore::findCustomer(number);
    txtNama->setText(found ? found->nama : QString());
    txtAlamat->setText(found ? found->alamat : QString());
    txtNoTelp->setText(found ? found->notelp : QString());
    txtAlamat->setCursorPosition(0); // a long address is shown from its start
    setEditing(found ? std::optional<int>(found->id) : std::nullopt);
}

void frmDBCustomer::fillEditor(int row)
{
    txtNoCust->setText(m_rows->value(row, QStringLiteral("cust_nomor")).toString());
    txtNama->setText(m_rows->value(row, QStringLiteral("cust_nama")).toString());
    txtAlamat->setText(m_rows->value(row, QStringLiteral("cust_alamat")).toString());
    txtNoTelp->setText(m_rows->value(row, QStringLiteral("cust_notelp")).toString());
    txtAlamat->setCursorPosition(0);
}

void frmDBCustomer::clearEditor()
{
    txtNoCust->clear();
    txtNama->clear();
    txtAlamat->clear();
    txtNoTelp->clear();
}

void frmDBCustomer::cmdSubmit_Click()
{
    if (typedKey().isEmpty()) {
        Prompt::message(QStringLiteral("Data entri tidak lengkap."), RegisterTexts::EntryTitle,
                        Prompt::Icon::Critical);
        txtNoCust->setFocus();
        return;
    }
    DoSubmitCustomer(submitMode());
}

void frmDBCustomer::DoSubmitCustomer(const QString& mode)
{
    submit(mode, [this](std::optional<int> id) {
        return RegisterStore::saveCustomer(id, txtNoCust->text(), txtNama->text(),
                                    txtAlamat->text(), txtNoTelp->text());
    });
}

bool frmDBCustomer::isReferenced(int id)
{
    return RegisterStore::customerIsReferenced(id);
}

RegisterStore::Outcome frmDBCustomer::deleteRow(int id)
{
    return RegisterStore::deleteCustomer(id);
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

bool frmDBCustomer::eventFilter(QObject* watched, QEvent* event)
{
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
    return RegisterWindow::eventFilter(watched, event);
}

QString frmDBCustomer::typedKey() const
{
    return txtNoCust->text().trimmed();
}
