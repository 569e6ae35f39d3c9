#include "frmDBCustomer.h"

#include "masterdata/RegisterStore.h"
#include "masterdata/RegisterTexts.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Paging.h"
#include "ui/Prompt.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <algorithm>

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
            QStringLiteral("cust_nama")};
}
constexpr int AddressLength = 200;
constexpr int LetterCount = 27;
} // namespace

frmDBCustomer::frmDBCustomer(QWidget* parent)
    : RegisterWindow(QStringLiteral("frmDBCustomer"), customerList(), parent)
{
    fraCustomer = new QGroupBox(QStringLiteral("Data Customer"), this);
    fraCustomer->setObjectName(QStringLiteral("fraCustomer"));
    txtNoCust = lineEdit(QStringLiteral("txtNoCust"), QStringLiteral("input"), 12, fraCustomer);
    txtNama = lineEdit(QStringLiteral("txtNama"), QStringLiteral("input_str"), 25, fraCustomer);
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
    txtNoTelp =
        lineEdit(QStringLiteral("txtNoTelp"), QStringLiteral("input_int"), 15, fraCustomer);
    txtNoCust->setFixedWidth(110);
    txtNama->setFixedWidth(200);
    txtNoTelp->setFixedWidth(130);

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
    connect(txtAlamat, &QPlainTextEdit::textChanged, this, &frmDBCustomer::keepAddressWithinLimit);

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
    txtAlamat->setPlainText(found ? found->alamat : QString());
    txtNoTelp->setText(found ? found->notelp : QString());
    setEditing(found ? std::optional<int>(found->id) : std::nullopt);
}

void frmDBCustomer::fillEditor(int row)
{
    txtNoCust->setText(m_rows->value(row, QStringLiteral("cust_nomor")).toString());
    txtNama->setText(m_rows->value(row, QStringLiteral("cust_nama")).toString());
    txtAlamat->setPlainText(m_rows->value(row, QStringLiteral("cust_alamat")).toString());
    txtNoTelp->setText(m_rows->value(row, QStringLiteral("cust_notelp")).toString());
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
    submit(mode, [this](std::optional<int> id) {
        RegisterStore::saveCustomer(id, txtNoCust->text(), txtNama->text(),
                                    txtAlamat->toPlainText(), txtNoTelp->text());
    });
}

bool frmDBCustomer::isReferenced(int id)
{
    return RegisterStore::customerIsReferenced(id);
}

void frmDBCustomer::deleteRow(int id)
{
    RegisterStore::deleteCustomer(id);
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
