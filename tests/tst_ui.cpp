// Shared window machinery: helpers, paging, input conventions, grid columns,
// the login window and the main window.
#include "ScriptedPrompt.h"
#include "TestDb.h"
#include "WindowDriver.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "ui/GridColumns.h"
#include "ui/InputConventions.h"
#include "app/MDIForm1.h"
#include "payments/ShiftStore.h"
#include "sales/EscPos.h"
#include "sales/ReceiptPrinter.h"
#include "ui/Module1.h"
#include "ui/Paging.h"
#include "ui/frmAbout.h"
#include "users/frmSystemLogin.h"
#include "masterdata/frmDBBotol.h"
#include "masterdata/frmDBCustomer.h"
#include "masterdata/frmDBVariant.h"
#include "reports/frmSales.h"
#include "sales/frmSearch.h"
#include "sales/frmSearchNext.h"
#include "sales/frmTransaksi.h"
#include "stock/frmStockB.h"
#include "stock/frmStockC.h"
#include "users/frmSystemChangePass.h"
#include "users/frmSystemManager.h"
#include <QScreen>
#include <functional>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A small window with one field of each kind, in tab order.
class FieldsWindow : public QDialog {
public:
    explicit FieldsWindow(const InputRules& rules)
    {
        setObjectName("frmFields");
        auto* layout = new QVBoxLayout(this);
        auto add = [&](const char* name, const char* tag) {
            auto* e = new QLineEdit(this);
            e->setObjectName(name);
            if (tag)
                e->setProperty("tag", QString::fromLatin1(tag));
            layout->addWidget(e);
            return e;
        };
        txtAmount = add("txtAmount", "input_int");
        txtName = add("txtName", "input_str");
        txtAddress = add("txtAddress", "input");
        txtFree = add("txtFree", nullptr);
        cmbType = new QComboBox(this);
        cmbType->setObjectName("cmbType");
        cmbType->setProperty("tag", "input");
        cmbType->addItems({"REFILL", "SPRAY"});
        cmbType->setCurrentIndex(1);
        layout->addWidget(cmbType);
        cmdOk = new QPushButton("OK", this);
        cmdOk->setDefault(true);
        layout->addWidget(cmdOk);
        connect(cmdOk, &QPushButton::clicked, this, [this] { ++clicks; });
        InputConventions::install(this, rules);
    }
    QLineEdit *txtAmount, *txtName, *txtAddress, *txtFree;
    QComboBox* cmbType;
    QPushButton* cmdOk;
    int clicks = 0;
};

InputRules salesRules()
{
    InputRules r;
    r.intKeys = InputRules::NumberKeys::Amount;
    r.intFormat = InputRules::NumberFormat::Amount;
    return r;
}

} // namespace

class UiTest : public QObject {
    Q_OBJECT

private slots:
    void keyIsAllowed_data();
    void keyIsAllowed();
    void doReplace();
    void doClearInputs();
    void formIsLoaded();

    void paging_data();
    void paging();
    void pagingButtons();

    void amountFieldTyping_data();
    void amountFieldTyping();
    void amountFieldFormatsOnLeaveAndStripsOnReturn();
    void emptiedNumericFieldShowsZero();
    void enterMovesOnAndPressesOnlyAFocusedButton();
    void pasteIsRefusedInFilteredFields();
    void lettersAndPhoneFilters();
    void pointsKeptInTextFields();
    void groupLocking();

    void gridColumnsFormatOnlyTheDisplay();
    void gridCellsSizedAndClippedAsTheStyleWould();

    void loginMessages_data();
    void loginMessages();
    void loginKeyFilterAndLengths();
    void loginSucceedsWithTheStoredName();
    void loginEscapeKeepsThePreviousUser();
    void loginQueryIsBound();

    void mainWindowMenusAndToolbar();
    void commandsOpenTheirWindows_data();
    void commandsOpenTheirWindows();
    void kasPrinterCommands_data();
    void kasPrinterCommands();
    void startUpRefusesOtherLocales();
    void startUpEndsWhenTheLoginIsClosed();
    void startUpGoesOnAfterLogin();
    void aboutWindow();
    void databaseErrorIsOneMessage();
    void everyWindowFitsASmallScreen_data();
    void everyWindowFitsASmallScreen();
};

void UiTest::keyIsAllowed_data()
{
    QTest::addColumn<QString>("allowed");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("passes");
    QTest::newRow("digit") << KeySet::Number << int('7') << true;
    QTest::newRow("point") << KeySet::Number << int('.') << true;
    QTest::newRow("backspace") << KeySet::Number << 8 << true;
    QTest::newRow("letter") << KeySet::Number << int('a') << false;
    QTest::newRow("comma without decimals") << KeySet::Number << int(',') << false;
    QTest::newRow("blank") << KeySet::Number << int(' ') << false;
    QTest::newRow("ctrl-v") << KeySet::Number << 22 << false;
    QTest::newRow("quote in user name") << KeySet::UserName << int('\'') << false;
    QTest::newRow("capital in user name") << KeySet::UserName << int('Q') << true;
    QTest::newRow("hyphen in phone") << KeySet::Phone << int('-') << true;
}

void UiTest::keyIsAllowed()
{
    QFETCH(QString, allowed);
    QFETCH(int, key);
    QFETCH(bool, passes);
    int code = key;
    QCOMPARE(KeyIsAllowed(code, allowed), passes);
    QCOMPARE(code, passes ? key : 0);
}

void UiTest::doReplace()
{
    QString text = "1.250.000";
    QCOMPARE(DoReplace(text, ".", ""), QStringLiteral("1250000"));
    QCOMPARE(text, QStringLiteral("1250000"));
    QString plain = "Tanpa titik";
    QCOMPARE(DoReplace(plain, ".", ""), QStringLiteral("Tanpa titik"));
    QString caption = "Tanggal : 2026";
    QCOMPARE(DoReplace(caption, ":", ""), QStringLiteral("Tanggal  2026"));
}

void UiTest::doClearInputs()
{
    FieldsWindow w(salesRules());
    w.txtAmount->setText("12,5");
    w.txtName->setText("Budi");
    w.txtFree->setText("tetap");
    auto* e = new QLineEdit(&w);
    e->setProperty("tag", "input_e");
    e->setText("C-01");
    DoClearInputs("input", &w);
    QCOMPARE(w.txtAmount->text(), QStringLiteral("0"));
    QCOMPARE(w.txtName->text(), QString());
    QCOMPARE(e->text(), QString());
    QCOMPARE(w.cmbType->currentIndex(), -1);
    QCOMPARE(w.txtFree->text(), QStringLiteral("tetap"));
}

void UiTest::formIsLoaded()
{
    QVERIFY(!FormIsLoaded("frmTransaksi"));
    QDialog d;
    d.setObjectName("frmTransaksi");
    QVERIFY(FormIsLoaded("FRMTRANSAKSI"));
    QVERIFY(!FormIsLoaded("frmSearch"));
}

void UiTest::paging_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("pageSize");
    QTest::addColumn<int>("lastPage");
    QTest::addColumn<int>("lastStart");
    QTest::newRow("empty") << 0 << 10 << 1 << 1;
    QTest::newRow("one full page") << 10 << 10 << 1 << 1;
    QTest::newRow("one more") << 11 << 10 << 2 << 11;
    QTest::newRow("25 rows") << 25 << 10 << 3 << 21;
    QTest::newRow("beyond 16 bits") << 100000 << 10 << 10000 << 99991;
    QTest::newRow("page size one") << 40000 << 1 << 40000 << 40000;
}

void UiTest::paging()
{
    QFETCH(int, records);
    QFETCH(int, pageSize);
    QFETCH(int, lastPage);
    QFETCH(int, lastStart);
    ListPageSize = pageSize;
    NavFirstRecord = 1;
    NavFirstPage = 1;
    NavRecordCount = records;
    DoSetPages();
    QCOMPARE(NavCurrentPage, 1);
    QCOMPARE(NavLastPage, lastPage);
    QCOMPARE(NavPageStart.at(1), 1);
    QCOMPARE(NavPageStart.at(lastPage), lastStart);
    QCOMPARE(NavPageLabel(), QStringLiteral("Page 1 of %1").arg(lastPage));
    DoGoPage(3, nullptr);
    QCOMPARE(NavCurrentPage, lastPage);
    QCOMPARE(NavPageOffset(), lastStart - 1);
    // Every record sits on exactly one page.
    QVERIFY(NavPageOffset() < std::max(records, 1));
    QVERIFY(NavPageOffset() + pageSize >= records);
}

void UiTest::pagingButtons()
{
    QDialog w;
    QList<QPushButton*> nav;
    for (int i = 0; i < 4; ++i) {
        nav << new QPushButton(&w);
        nav.last()->setObjectName(QStringLiteral("cmdNavigasi_%1").arg(i));
    }
    auto states = [&] {
        QList<bool> s;
        for (auto* b : nav)
            s << b->isEnabled();
        return s;
    };
    ListPageSize = 10;
    NavFirstRecord = NavFirstPage = 1;
    NavRecordCount = 0;
    DoSetPages();
    DoSetNavButtons(&w);
    QCOMPARE(states(), (QList<bool>{false, false, false, false}));

    NavRecordCount = 25;
    DoSetPages();
    DoSetNavButtons(&w);
    QCOMPARE(states(), (QList<bool>{false, false, true, true}));
    DoGoPage(3, &w);
    QCOMPARE(NavCurrentPage, 3);
    QCOMPARE(states(), (QList<bool>{true, true, false, false}));
    QCOMPARE(NavPrevPage, 2);
    DoGoPage(1, &w);
    QCOMPARE(NavCurrentPage, 2);
    QCOMPARE(states(), (QList<bool>{true, true, true, true}));
    DoGoPage(0, &w);
    QCOMPARE(NavCurrentPage, 1);
}

void UiTest::amountFieldTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("second comma refused") << "12,5,3" << "12,53";
    QTest::newRow("points anywhere") << "1.2.3,4" << "1.2.3,4";
    QTest::newRow("letters and blanks refused") << "1a b2" << "12";
    QTest::newRow("minus refused") << "-5" << "5";
}

void UiTest::amountFieldTyping()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    FieldsWindow w(salesRules());
    showAndFocus(&w, w.txtAmount);
    w.txtAmount->clear(); // shows "0", selected
    QTest::keyClicks(w.txtAmount, typed);
    QCOMPARE(w.txtAmount->text(), shown);
}

void UiTest::amountFieldFormatsOnLeaveAndStripsOnReturn()
{
    FieldsWindow w(salesRules());
    showAndFocus(&w, w.txtAmount);
    w.txtAmount->selectAll();
    QTest::keyClicks(w.txtAmount, "1234,5");
    QTest::keyClick(w.txtAmount, Qt::Key_Tab);
    QTRY_VERIFY(w.txtName->hasFocus());
    QCOMPARE(w.txtAmount->text(), QStringLiteral("1.234,50"));
    QTest::keyClick(w.txtName, Qt::Key_Backtab);
    QTRY_VERIFY(w.txtAmount->hasFocus());
    QCOMPARE(w.txtAmount->text(), QStringLiteral("1234,50"));
    QTRY_COMPARE(w.txtAmount->selectedText(), QStringLiteral("1234,50"));
    // Typing replaces the selected value.
    QTest::keyClicks(w.txtAmount, "7");
    QCOMPARE(w.txtAmount->text(), QStringLiteral("7"));
}

void UiTest::emptiedNumericFieldShowsZero()
{
    FieldsWindow w(salesRules());
    showAndFocus(&w, w.txtAmount);
    w.txtAmount->setText("12");
    w.txtAmount->end(false);
    QTest::keyClick(w.txtAmount, Qt::Key_Backspace);
    QTest::keyClick(w.txtAmount, Qt::Key_Backspace);
    QCOMPARE(w.txtAmount->text(), QStringLiteral("0"));
    QTest::keyClicks(w.txtAmount, "5");
    QCOMPARE(w.txtAmount->text(), QStringLiteral("5"));

    // Where the rules say so, an emptied field stays empty.
    InputRules phone;
    phone.intKeys = InputRules::NumberKeys::Phone;
    phone.intZeroWhenEmpty = false;
    FieldsWindow p(phone);
    p.txtAmount->setText("1");
    p.txtAmount->clear();
    QCOMPARE(p.txtAmount->text(), QString());
}

void UiTest::enterMovesOnAndPressesOnlyAFocusedButton()
{
    FieldsWindow w(salesRules());
    showAndFocus(&w, w.txtAmount);
    QTest::keyClick(w.txtAmount, Qt::Key_Return);
    QTRY_VERIFY(w.txtName->hasFocus());
    QCOMPARE(w.txtAmount->text(), QStringLiteral("0,00"));
    QTest::keyClick(w.txtName, Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(w.txtAddress->hasFocus());
    QTest::keyClick(w.txtAddress, Qt::Key_Return);
    QTRY_VERIFY(w.txtFree->hasFocus());
    QTest::keyClick(w.txtFree, Qt::Key_Return);
    QTRY_VERIFY(w.cmbType->hasFocus());
    QTest::keyClick(w.cmbType, Qt::Key_Return);
    QTRY_VERIFY(w.cmdOk->hasFocus());
    // Enter in the fields never reached the button; Enter on the button presses it.
    QCOMPARE(w.clicks, 0);
    QTest::keyClick(w.cmdOk, Qt::Key_Return);
    QCOMPARE(w.clicks, 1);
    QVERIFY(w.isVisible());
    w.clicks = 0;
    // Space still presses the focused button.
    w.cmdOk->setFocus();
    QTest::keyClick(w.cmdOk, Qt::Key_Space);
    QCOMPARE(w.clicks, 1);
}

void UiTest::pasteIsRefusedInFilteredFields()
{
    FieldsWindow w(salesRules());
    ScriptedPrompt prompt;
    showAndFocus(&w, w.txtAmount);
    QGuiApplication::clipboard()->setText("1a");
    w.txtAmount->setText("12");
    w.txtAmount->end(false);
    // A refused character anywhere refuses the whole paste, with one message each time.
    QTest::keyClick(w.txtAmount, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(w.txtAmount, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(w.txtAmount->text(), QStringLiteral("12"));
    QCOMPARE(prompt.calls.size(), 2);
    QVERIFY(prompt.lastText().contains("\"a\""));
    // Allowed text is pasted; editing keys pass the filter.
    QGuiApplication::clipboard()->setText("3,5");
    QTest::keyClick(w.txtAmount, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.txtAmount->text(), QStringLiteral("123,5"));
    QTest::keyClick(w.txtAmount, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w.txtAmount->selectedText(), QStringLiteral("123,5"));
    QTest::keyClick(w.txtAmount, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("123,5"));
    QTest::keyClick(w.txtAmount, Qt::Key_Home);
    QTest::keyClick(w.txtAmount, Qt::Key_Right);
    QTest::keyClick(w.txtAmount, Qt::Key_Delete);
    QCOMPARE(w.txtAmount->text(), QStringLiteral("13,5"));
    QCOMPARE(prompt.calls.size(), 2);
    // An unfiltered field takes the paste.
    QGuiApplication::clipboard()->setText("abc");
    w.txtFree->setFocus();
    QTRY_VERIFY(w.txtFree->hasFocus());
    QTest::keyClick(w.txtFree, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.txtFree->text(), QStringLiteral("abc"));
}

void UiTest::lettersAndPhoneFilters()
{
    InputRules r;
    r.intKeys = InputRules::NumberKeys::Phone;
    r.intZeroWhenEmpty = false;
    r.intStripPoints = false;
    r.strKeys = KeySet::Letters;
    FieldsWindow w(r);
    showAndFocus(&w, w.txtName);
    QTest::keyClicks(w.txtName, "Budi Santoso 2.");
    QCOMPARE(w.txtName->text(), QStringLiteral("BudiSantoso."));
    w.txtAmount->setFocus();
    QTRY_VERIFY(w.txtAmount->hasFocus());
    w.txtAmount->clear();
    QTest::keyClicks(w.txtAmount, "0812-345.67 x");
    QCOMPARE(w.txtAmount->text(), QStringLiteral("0812-345.67"));
    QTest::keyClick(w.txtAmount, Qt::Key_Tab);
    QCOMPARE(w.txtAmount->text(), QStringLiteral("0812-345.67"));
}

void UiTest::pointsKeptInTextFields()
{
    FieldsWindow w(salesRules());
    showAndFocus(&w, w.txtAmount);
    QTest::keyClick(w.txtAmount, Qt::Key_Tab);
    QTest::keyClick(w.txtName, Qt::Key_Tab);
    QTRY_VERIFY(w.txtAddress->hasFocus());
    QTest::keyClicks(w.txtAddress, "Jl. Merdeka 5");
    QTest::keyClick(w.txtAddress, Qt::Key_Backtab);
    QTest::keyClick(w.txtName, Qt::Key_Backtab);
    QTRY_VERIFY(w.txtAmount->hasFocus());
    QCOMPARE(w.txtAddress->text(), QStringLiteral("Jl. Merdeka 5"));
}

void UiTest::groupLocking()
{
    FieldsWindow w(salesRules());
    InputConventions::setGroupEnabled(&w, "input", false);
    QVERIFY(w.txtAmount->isReadOnly());
    QVERIFY(w.txtAddress->isReadOnly());
    QVERIFY(!w.cmbType->isEnabled());
    QVERIFY(!w.txtFree->isReadOnly());
    QCOMPARE(w.txtAmount->palette().color(QPalette::Base), InputConventions::lockedColor());
    InputConventions::setGroupEnabled(&w, "input_int", true);
    QVERIFY(!w.txtAmount->isReadOnly());
    QVERIFY(w.txtAddress->isReadOnly());
    QCOMPARE(w.txtAmount->palette().color(QPalette::Base), InputConventions::editableColor());
    // A locked field takes no typing.
    showAndFocus(&w, w.txtAddress);
    QTest::keyClicks(w.txtAddress, "x");
    QCOMPARE(w.txtAddress->text(), QString());
}

void UiTest::gridColumnsFormatOnlyTheDisplay()
{
    QTableView view;
    RowSetModel model;
    setUpGrid(&view, &model);
    RowSet rs;
    rs.columns = {"id", "nama", "harga", "ket"};
    rs.rows = {{7, "Melati", 12500.0, ""}, {8, "Mawar", 1234.5, ""}};
    model.setRows(rs);
    applyGridColumns(&view, {{"", 0, Qt::AlignLeft, GridColumn::Format::Text},
                             {"Nama", 1500, Qt::AlignLeft, GridColumn::Format::Text},
                             {"Harga", 3000, Qt::AlignRight, GridColumn::Format::Amount},
                             {"Ket", 600, Qt::AlignLeft, GridColumn::Format::Text}});
    view.resize(400, 200);
    view.show();
    QVERIFY(view.isColumnHidden(0));
    // At least the designed pixels, widened alike for a larger font.
    QVERIFY(view.columnWidth(1) >= 100);
    QVERIFY(qAbs(view.columnWidth(2) - 2 * view.columnWidth(1)) <= 1);
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Harga"));
    QCOMPARE(model.value(1, "harga").toDouble(), 1234.5);
}

void UiTest::gridCellsSizedAndClippedAsTheStyleWould()
{
    QTableView view;
    RowSetModel model;
    setUpGrid(&view, &model);
    RowSet rs;
    rs.columns = {"teks", "sesudah", "harga"};
    for (const QString& text :
         {QStringLiteral("0"), QStringLiteral("W"), QStringLiteral("iiiiiiiiiiiiiiii"),
          QStringLiteral("Jl. Melati No. 226, Bandung"), QStringLiteral("ÉCOLE Ünïcødé ñ"), QStringLiteral("1.234.567,50"),
          QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"), QStringLiteral("dua\nbaris")})
        rs.rows << QVariantList{text, QString(), 1234567.5};
    model.setRows(rs);
    applyGridColumns(&view, {{"Teks", 600, Qt::AlignLeft, GridColumn::Format::Text},
                             {"Sesudah", 600, Qt::AlignLeft, GridColumn::Format::Text},
                             {"Harga", 600, Qt::AlignRight, GridColumn::Format::Amount}});
    view.resize(500, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // Each text cell is as wide and high as the style's own item would be,
    // so a column fitted to its cells clips nothing.
    QStyledItemDelegate style;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStyleOptionViewItem option;
        option.initFrom(&view);
        option.widget = &view;
        option.features |= QStyleOptionViewItem::WrapText;
        const QModelIndex index = model.index(r, 0);
        QCOMPARE(view.itemDelegate()->sizeHint(option, index), style.sizeHint(option, index));
    }

    // A text longer than its column is cut short inside it: nothing is drawn
    // over the next column (left empty here).
    const QImage shot = view.viewport()->grab().toImage();
    const int row = 6;
    const QRect next = view.visualRect(model.index(row, 1)).adjusted(2, 2, -2, -2);
    const QRgb background = shot.pixel(next.center());
    for (int x = next.left(); x <= next.right(); ++x)
        for (int y = next.top(); y <= next.bottom(); ++y)
            QCOMPARE(shot.pixel(x, y), background);
}

void UiTest::loginMessages_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("both empty") << "" << "" << "Username harus diisi." << "txtUsername";
    QTest::newRow("password empty") << "admin" << "" << "Password haru diisi." << "txtPassword";
    QTest::newRow("wrong password") << "admin" << "salah" << "Username atau password salah."
                                    << "txtUsername";
    QTest::newRow("unknown user") << "nobody" << "pinus" << "Username atau password salah."
                                  << "txtUsername";
    // A user name is found in any letter case; a password is compared exactly.
    QTest::newRow("password in other letter case") << "ADMIN" << "PINUS"
                                                   << "Username atau password salah."
                                                   << "txtUsername";
}

void UiTest::loginMessages()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    LoginUserName = "before";
    ScriptedPrompt prompt;
    frmSystemLogin w;
    showAndFocus(&w, w.txtUsername);
    QTest::keyClicks(w.txtUsername, user);
    QTest::keyClick(w.txtUsername, Qt::Key_Return);
    QTest::keyClicks(w.txtPassword, password);
    QTest::mouseClick(w.cmdLogin, Qt::LeftButton);
    QCOMPARE(prompt.texts(), QStringList{message});
    QCOMPARE(prompt.calls.first().title, QStringLiteral("Periksa Entri"));
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Critical);
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), focus);
    QVERIFY(w.isVisible());
    QCOMPARE(w.txtUsername->text(), user);
    QCOMPARE(w.txtPassword->text(), password);
    QCOMPARE(LoginUserName, QStringLiteral("before"));
    // After a wrong name or password the name is selected for retyping.
    if (message == QLatin1String("Username atau password salah."))
        QCOMPARE(w.txtUsername->selectedText(), user);
}

void UiTest::loginKeyFilterAndLengths()
{
    TestDb t;
    ScriptedPrompt prompt;
    frmSystemLogin w;
    showAndFocus(&w, w.txtUsername);
    QTest::keyClicks(w.txtUsername, "ad m'i-n\"1;");
    // Refused characters open no box; the note beside the field says why.
    QVERIFY(prompt.calls.isEmpty());
    QVERIFY(InputConventions::noteText(&w).endsWith("hanya menerima huruf dan angka."));
    QCOMPARE(w.txtUsername->text(), QStringLiteral("admin1"));
    QTest::keyClick(w.txtUsername, Qt::Key_Backspace);
    QCOMPARE(w.txtUsername->text(), QStringLiteral("admin"));
    QTest::keyClicks(w.txtUsername, "abcdefgh");
    QCOMPARE(w.txtUsername->text(), QStringLiteral("adminabc"));
    // Each key past the column is refused with the limit, never cut silently.
    QCOMPARE(InputConventions::noteText(&w), QStringLiteral("Isian ini paling banyak 8 karakter."));
    QTest::keyClick(w.txtUsername, Qt::Key_Return);
    QTRY_VERIFY(w.txtPassword->hasFocus());
    QCOMPARE(InputConventions::noteText(&w), QString());
    QTest::keyClicks(w.txtPassword, QString(129, 'p'));
    QCOMPARE(w.txtPassword->text(), QString(128, 'p'));
    QCOMPARE(InputConventions::noteText(&w),
             QStringLiteral("Isian ini paling banyak 128 karakter."));
    QVERIFY(prompt.calls.isEmpty());
    QCOMPARE(w.txtPassword->echoMode(), QLineEdit::Password);
}

void UiTest::loginSucceedsWithTheStoredName()
{
    TestDb t;
    Db::exec("INSERT INTO tvr_user (user_name, user_password, user_namalengkap) VALUES (?, ?, ?)",
             {"kasir1", "Rahasia12345678901Ab", "Kasir Satu"});
    ScriptedPrompt prompt;
    frmSystemLogin w;
    showAndFocus(&w, w.txtUsername);
    // Name, Enter, password, Enter reaches the button; Space presses it.
    QTest::keyClicks(w.txtUsername, "kasir1");
    QTest::keyClick(w.txtUsername, Qt::Key_Return);
    QTest::keyClicks(w.txtPassword, "Rahasia12345678901Ab");
    QTest::keyClick(w.txtPassword, Qt::Key_Return);
    QTRY_VERIFY(w.cmdLogin->hasFocus());
    QTest::keyClick(w.cmdLogin, Qt::Key_Space);
    QVERIFY(prompt.calls.isEmpty());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(LoginUserName, QStringLiteral("kasir1"));
    QCOMPARE(LoginFullName, QStringLiteral("Kasir Satu"));
}

void UiTest::loginEscapeKeepsThePreviousUser()
{
    TestDb t;
    LoginUserName = "kasir1";
    StartupDone = true;
    frmSystemLogin w;
    showAndFocus(&w, w.txtUsername);
    QTest::keyClicks(w.txtUsername, "admin");
    QTest::keyClick(w.txtUsername, Qt::Key_Escape);
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(LoginUserName, QStringLiteral("kasir1"));
}

void UiTest::loginQueryIsBound()
{
    TestDb t;
    ScriptedPrompt prompt;
    frmSystemLogin w;
    // Text put in from code bypasses the key filter; it must still be a plain value.
    w.txtUsername->setText("admin' --");
    w.txtPassword->setText("x' OR '1'='1");
    w.cmdLogin->click();
    QCOMPARE(prompt.texts(), QStringList{"Username atau password salah."});
    QCOMPARE(LoginUserName, QStringLiteral("tester"));
}

void UiTest::commandsOpenTheirWindows_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("title");
    const QList<QStringList> rows = {
        {"Menu", "Transaction", "frmTransaksi", "Transaction"},
        {"", "Kasir", "frmTransaksi", "Transaction"},
        {"Menu", "Search", "frmSearch", "Search Customer"},
        {"", "Search", "frmSearch", "Search Customer"},
        {"Menu", "Sales", "frmSales", "Sales Report"},
        {"", "Sales", "frmSales", "Sales Report"},
        {"Stock", "Concentrate", "frmStockC", "Stock Concentrate"},
        {"Stock", "Botol", "frmStockB", "Stock Botol"},
        {"Database", "Customer", "frmDBCustomer", "Database"},
        {"Database", "Variant", "frmDBVariant", "Database"},
        {"Database", "Botol", "frmDBBotol", "Database"},
        {"File", "Change Password", "frmSystemChangePass", "Change Password"},
        {"File", "User Management", "frmSystemManager", "User Management"},
        // With no shift open on the till, a cash move asks for the opening cash first.
        {"Kas", "Buka Shift", "frmShiftBuka", "Buka Shift"},
        {"Kas", "Kas Masuk/Keluar", "frmShiftBuka", "Buka Shift"},
        {"Kas", "Daftar Shift", "frmShiftList", "Daftar Shift"},
    };
    for (const QStringList& r : rows)
        QTest::newRow(qPrintable((r.at(0).isEmpty() ? QStringLiteral("toolbar") : r.at(0)) +
                                 " > " + r.at(1)))
            << r.at(0) << r.at(1) << r.at(2) << r.at(3);
}

// Every menu command and toolbar button opens its window, modally, with no message.
void UiTest::commandsOpenTheirWindows()
{
    QFETCH(QString, parent);
    QFETCH(QString, command);
    QFETCH(QString, window);
    QFETCH(QString, title);
    TestDb t;
    ScriptedPrompt prompt;
    MDIForm1 main;
    QString opened;
    withModal([&] { main.runCommand(parent, command); },
              [&](QWidget* modal) {
                  opened = modal ? modal->objectName() + ":" + modal->windowTitle() : QString();
              });
    QCOMPARE(opened, window + ":" + title);
    QVERIFY(prompt.calls.isEmpty());
}

void UiTest::kasPrinterCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("printer"); // after "escpos:"; {dir} the test's folder
    QTest::addColumn<QString>("drawer");
    QTest::addColumn<bool>("shiftOpen");
    QTest::addColumn<QString>("outcome"); // what the printer got, or the message's start

    QTest::newRow("drawer") << "Buka Laci" << "{dir}/lp0" << "2" << true << "pulse";
    QTest::newRow("drawer, no shift") << "Buka Laci" << "{dir}/lp0" << "2" << false
                                      << "Laci kas hanya dapat dibuka selama shift kasir Kasir 1";
    QTest::newRow("drawer not set") << "Buka Laci" << "{dir}/lp0" << "off" << true
                                    << "Laci kas belum diatur";
    QTest::newRow("drawer, printer unplugged")
        << "Buka Laci" << "{dir}/usb/lp0" << "5" << true
        << "Laci kas tidak dapat dibuka lewat printer ESC/POS";
    QTest::newRow("test page") << "Cetak halaman uji" << "{dir}/lp0" << "off" << false << "page";
}

// The Kas menu's printer commands: the drawer only during the till's shift.
void UiTest::kasPrinterCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, printer);
    QFETCH(QString, drawer);
    QFETCH(bool, shiftOpen);
    QFETCH(QString, outcome);
    TestDb t;
    ScriptedPrompt prompt;
    const QString device = QString(printer).replace("{dir}", t.dir());
    QFile(t.dir() + "/lp0").open(QIODevice::WriteOnly);
    t.writeConfig({"kasir=:Kasir 1", "notaprinter=:escpos:" + device, "laci=:" + drawer});
    ReceiptPrinter::setConfigFolder(t.dir());
    if (shiftOpen)
        QCOMPARE(ShiftStore::open("Kasir 1", 100000, nullptr), ShiftStore::Outcome::Done);
    MDIForm1 main;
    main.runCommand("Kas", command);
    ReceiptPrinter::setConfigFolder({});
    QFile f(device);
    const QByteArray got = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (outcome == "pulse")
        QCOMPARE(got.toHex(' '), EscPos::drawerPulse(2).toHex(' '));
    else if (outcome == "page")
        QVERIFY(got.startsWith("\x1b@\x1bt\x10") && got.contains("Halaman Uji Printer"));
    else
        QVERIFY2(got.isEmpty() && prompt.lastText().startsWith(outcome), qPrintable(prompt.lastText()));
    QCOMPARE(prompt.calls.size(), outcome == "pulse" || outcome == "page" ? 0 : 1);
}

void UiTest::mainWindowMenusAndToolbar()
{
    MDIForm1 w;
    QStringList tops;
    for (QMenu* m : w.mnUtama)
        tops << m->title();
    QCOMPARE(tops, (QStringList{"&File", "&Menu", "&Kas", "&Analisa", "&Help"}));

    auto captions = [](const QList<QAction*>& items) {
        QStringList c;
        for (QAction* a : items)
            c << (a->isSeparator() ? QStringLiteral("-") : MDIForm1::plainCaption(a->text()));
        return c;
    };
    QCOMPARE(captions(w.mnFile), (QStringList{"Login", "-", "Change Password", "User Management",
                                              "Jejak Perubahan", "-", "Quit"}));
    QCOMPARE(captions(w.mnMenu),
             (QStringList{"Transaction", "Search", "Stock", "Sales", "Database"}));
    QCOMPARE(captions(w.mnKas),
             (QStringList{"Buka Shift", "Kas Masuk/Keluar", "Tutup Shift", "-", "Daftar Shift", "-",
                          "Buka Laci", "Cetak halaman uji"}));
    QCOMPARE(captions(w.mnStock), (QStringList{"Concentrate", "Botol"}));
    QCOMPARE(captions(w.mnDB), (QStringList{"Customer", "Variant", "Botol"}));
    QCOMPARE(captions(w.mnAnalisa),
             (QStringList{"Analisa Penjualan", "Daftar Pesan Ulang", "Nilai Stok"}));
    QCOMPARE(captions(w.mnHelp), QStringList{"About"});

    // Every item has a mnemonic, unique within its menu.
    for (const auto* items :
         {&w.mnFile, &w.mnMenu, &w.mnKas, &w.mnStock, &w.mnDB, &w.mnAnalisa, &w.mnHelp}) {
        QSet<QChar> keys;
        for (QAction* a : *items) {
            if (a->isSeparator())
                continue;
            const qsizetype at = a->text().indexOf('&');
            QVERIFY2(at >= 0, qPrintable(a->text()));
            const QChar key = a->text().at(at + 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(a->text()));
            keys.insert(key);
        }
    }

    QStringList buttons;
    for (QToolButton* b : w.toolbarButtons) {
        buttons << b->text();
        QCOMPARE(b->iconSize(), QSize(64, 64));
        QVERIFY(!b->icon().isNull());
    }
    QCOMPARE(buttons, (QStringList{"Kasir", "Search", "Stock", "Sales", "Database", "Quit"}));
    QCOMPARE(MDIForm1::plainCaption("Sa&les && more"), QStringLiteral("Sales & more"));

    QSignalSpy quit(&w, &MDIForm1::quitRequested);
    w.toolbarButtons.last()->click();
    QCOMPARE(quit.count(), 1);
    w.mnFile.last()->trigger();
    QCOMPARE(quit.count(), 2);
}

void UiTest::startUpRefusesOtherLocales()
{
    TestDb t(false);
    ScriptedPrompt prompt;
    MDIForm1 w;
    QVERIFY(!w.startUp(QLocale(QLocale::English, QLocale::UnitedStates), t.dir()));
    QCOMPARE(prompt.texts(),
             QStringList{"Program ini hanya bisa dijalankan dengan format regional Indonesia!"});
    QCOMPARE(prompt.calls.first().title, QStringLiteral("ERROR SYSTEM"));
    QVERIFY(!Db::isOpen());
    QVERIFY(!Regional::isIndonesian(QLocale("en_ID")));
    QVERIFY(!Regional::isIndonesian(QLocale("ms_MY")));
    QVERIFY(Regional::isIndonesian(QLocale("id_ID")));
}

void UiTest::startUpEndsWhenTheLoginIsClosed()
{
    TestDb t(false);
    LoginUserName.clear();
    ScriptedPrompt prompt;
    MDIForm1 w;
    bool sawLogin = false;
    QTimer::singleShot(0, [&] {
        auto* login = qobject_cast<frmSystemLogin*>(QApplication::activeModalWidget());
        sawLogin = login != nullptr;
        QVERIFY(!StartupDone);
        if (login)
            login->close(); // the title bar's close button
    });
    QVERIFY(!w.startUp(QLocale(QLocale::Indonesian, QLocale::Indonesia), t.dir()));
    QVERIFY(sawLogin);
    QVERIFY(StartupDone);
    QVERIFY(prompt.calls.isEmpty());

    // Escape ends the start-up the same way.
    QTimer::singleShot(0, [] {
        if (auto* login = QApplication::activeModalWidget())
            QTest::keyClick(login, Qt::Key_Escape);
    });
    QVERIFY(!w.startUp(QLocale(QLocale::Indonesian, QLocale::Indonesia), t.dir()));
}

void UiTest::startUpGoesOnAfterLogin()
{
    TestDb t(false);
    LoginUserName.clear();
    ScriptedPrompt prompt;
    MDIForm1 w;
    loginWhenAsked();
    QVERIFY(w.startUp(QLocale(QLocale::Indonesian, QLocale::Indonesia), t.dir()));
    QCOMPARE(LoginUserName, QStringLiteral("admin"));
    QCOMPARE(LoginFullName, QStringLiteral("Administrator"));
    // The toolbar drop-downs list the submenus' commands in their order.
    QStringList stock, database;
    for (QAction* a : w.toolbarButtons.at(2)->menu()->actions())
        stock << MDIForm1::plainCaption(a->text());
    for (QAction* a : w.toolbarButtons.at(4)->menu()->actions())
        database << MDIForm1::plainCaption(a->text());
    QCOMPARE(stock, (QStringList{"Concentrate", "Botol"}));
    QCOMPARE(database, (QStringList{"Customer", "Variant", "Botol"}));
    QVERIFY(prompt.calls.isEmpty());
}

void UiTest::aboutWindow()
{
    MDIForm1 main;
    for (int i = 0; i < 2; ++i) {
        QString caption, notice;
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            QVERIFY(about);
            caption = about->windowTitle();
            notice = about->lblDisclaimer->text();
            QVERIFY(!about->Picture2->pixmap().isNull());
            about->cmdOK->click();
        });
        main.runCommand("Help", "About");
        QCOMPARE(caption, QStringLiteral("About System"));
        QVERIFY(!notice.isEmpty());
        QVERIFY(!QApplication::activeModalWidget());
    }
}

void UiTest::databaseErrorIsOneMessage()
{
    TestDb t;
    ScriptedPrompt prompt;
    bool afterFailure = false;
    QVERIFY(!guardDb([&] {
        Transaction tx;
        Db::exec("UPDATE tvr_dtbotol SET botol_stock = 5");
        Db::exec("UPDATE tvr_nosuchtable SET x = 1");
        afterFailure = true;
        tx.commit();
    }));
    QVERIFY(!afterFailure);
    QCOMPARE(prompt.calls.size(), 1);
    QCOMPARE(prompt.calls.first().title, QStringLiteral("DATABASE ERROR"));
    QVERIFY(prompt.lastText().contains("tvr_nosuchtable"));
    QCOMPARE(Db::scalar("SELECT botol_stock FROM tvr_dtbotol").toDouble(), 0.0);
    QVERIFY(guardDb([] { Db::exec("UPDATE tvr_dtbotol SET botol_stock = 1"); }));
}

void UiTest::everyWindowFitsASmallScreen_data()
{
    using Make = std::function<QWidget*()>;
    QTest::addColumn<Make>("make");
    QTest::newRow("frmTransaksi") << Make([] { return new frmTransaksi; });
    QTest::newRow("frmSearch") << Make([] { return new frmSearch; });
    QTest::newRow("frmSearchNext") << Make([] { return new frmSearchNext; });
    QTest::newRow("frmStockC") << Make([] { return new frmStockC; });
    QTest::newRow("frmStockB") << Make([] { return new frmStockB; });
    QTest::newRow("frmDBCustomer") << Make([] { return new frmDBCustomer; });
    QTest::newRow("frmDBVariant") << Make([] { return new frmDBVariant; });
    QTest::newRow("frmDBBotol") << Make([] { return new frmDBBotol; });
    QTest::newRow("frmSales") << Make([] { return new frmSales; });
    QTest::newRow("frmSystemLogin") << Make([] { return new frmSystemLogin; });
    QTest::newRow("frmSystemChangePass") << Make([] { return new frmSystemChangePass; });
    QTest::newRow("frmSystemManager") << Make([] { return new frmSystemManager; });
    QTest::newRow("frmAbout") << Make([] { return new frmAbout; });
}

// At a display scale of 1,5 a 1024 x 768 screen is 682 x 512: no window asks
// for more, and a window that would open larger than its screen opens within it.
void UiTest::everyWindowFitsASmallScreen()
{
    using Make = std::function<QWidget*()>;
    QFETCH(Make, make);
    TestDb t;
    // Long texts widen their columns; the minimum does not grow with them.
    Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_alamat) VALUES ('C001', ?, ?)",
             {QString(25, 'W'), QString(200, 'W')});
    ScriptedPrompt prompt;
    std::unique_ptr<QWidget> w(make());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QSize minimum = w->minimumSizeHint().expandedTo(w->minimumSize());
    QVERIFY2(minimum.width() <= SmallScreenWidth && minimum.height() <= SmallScreenHeight,
             qPrintable(QStringLiteral("%1 x %2").arg(minimum.width()).arg(minimum.height())));
    const QSize free = w->screen()->availableGeometry().size();
    QVERIFY2(w->width() <= free.width() && w->height() <= free.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(w->width()).arg(w->height())));
    prompt.unexpected.clear();
}

QTEST_MAIN(UiTest)
#include "tst_ui.moc"
