// User accounts: the change of one's own password and the user management
// window, with the refusals that leave the table as it was and the rules that
// keep an account that has written rows.
#include "ScriptedPrompt.h"
#include "TestDb.h"
#include "WindowDriver.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "ui/GridColumns.h"
#include "ui/InputConventions.h"
#include "users/frmSystemChangePass.h"
#include "users/frmSystemLogin.h"
#include "core/Rights.h"
#include "users/UserStore.h"
#include "users/frmSystemManager.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

int addUser(const QString& name, const QString& password = "rahasia",
            const QString& fullName = "Pengguna")
{
    return int(Db::insertedId(
        Db::exec("INSERT INTO tvr_user (user_name, user_password, user_namalengkap, user_date, "
                 "user_author) VALUES (?, ?, ?, '2024-01-02', 'admin')",
                 {name, password, fullName})));
}

// Every row of tvr_user, passwords included, as text.
QString users()
{
    QString all;
    for (const QVariantList& row : Db::select("SELECT * FROM tvr_user ORDER BY iduser").rows)
        for (const QVariant& v : row)
            all += v.toString() + QLatin1Char('|');
    return all;
}

// The plain-text column: only accounts not yet hashed hold anything there.
QString passwordOf(const QString& name)
{
    return Db::scalar("SELECT user_password FROM tvr_user WHERE user_name = ?", {name}).toString();
}

bool isPassword(const QString& name, const QString& password)
{
    return UserStore::findLogin(name, password).has_value();
}

// Clicks the list row of account `name`.
void standOn(frmSystemManager& w, const QString& name)
{
    for (int r = 0; r < w.rsUsers->rowCount(); ++r)
        if (w.rsUsers->value(r, "user_name").toString() == name) {
            const QRect cell = w.dtGridUsers->visualRect(w.rsUsers->index(r, 1));
            QTest::mouseClick(w.dtGridUsers->viewport(), Qt::LeftButton, {}, cell.center());
            QCOMPARE(w.dtGridUsers->currentIndex().row(), r);
            return;
        }
    QFAIL("account not in the list");
}

bool loginWorks(const QString& name, const QString& password)
{
    ScriptedPrompt prompt;
    frmSystemLogin login;
    login.txtUsername->setText(name);
    login.txtPassword->setText(password);
    login.cmdLogin->click();
    return login.result() == QDialog::Accepted && prompt.calls.isEmpty();
}

// Runs `hook` when a question is asked, then answers it as scripted.
class HookedPrompt : public ScriptedPrompt {
public:
    std::function<void()> hook;
    Prompt::Answer message(const QString& text, const QString& title, Prompt::Icon icon,
                           Prompt::Buttons buttons) override
    {
        if (buttons == Prompt::Buttons::YesNo && hook)
            hook();
        return ScriptedPrompt::message(text, title, icon, buttons);
    }
};

} // namespace

class UsersTest : public QObject {
    Q_OBJECT

private slots:
    void changePasswordRefusals_data();
    void changePasswordRefusals();
    void changedPasswordTakesEffectAtLogin();

    void managerRefusals_data();
    void managerRefusals();
    void addThenUpdate();
    void keyFiltersAndLengths();

    void authorRule_data();
    void authorRule();
    void lastAccountStays();
    void userNameRule_data();
    void userNameRule();
    void deleteConcernsTheNamedAccount_data();
    void deleteConcernsTheNamedAccount();
    void rowWrittenWhileAskingKeepsTheAccount();

};

void UsersTest::changePasswordRefusals_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("new1");
    QTest::addColumn<QString>("new2");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("all empty") << "" << "" << "" << "Password lama harus diisi." << "txtLastPass";
    QTest::newRow("no new password") << "pinus" << "" << "baru1" << "Password baru harus diisi."
                                     << "txtNewPass1";
    QTest::newRow("not repeated") << "pinus" << "baru1" << "" << "Password baru harus diisi."
                                  << "txtNewPass2";
    QTest::newRow("letter case differs") << "pinus" << "Baru1" << "baru1" << "Password tidak sama!"
                                         << "txtNewPass1";
    QTest::newRow("wrong old password") << "PINUS" << "baru1" << "baru1" << "Password lama salah!"
                                        << "txtLastPass";
    QTest::newRow("differ and wrong old") << "salah" << "baru1" << "baru2"
                                          << "Password tidak sama!" << "txtNewPass1";
}

void UsersTest::changePasswordRefusals()
{
    QFETCH(QString, last);
    QFETCH(QString, new1);
    QFETCH(QString, new2);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    LoginUserName = "admin";
    const QString before = users();
    ScriptedPrompt prompt;
    frmSystemChangePass w;
    showAndFocus(&w, w.txtLastPass);
    QTest::keyClicks(w.txtLastPass, last);
    QTest::keyClicks(w.txtNewPass1, new1);
    QTest::keyClicks(w.txtNewPass2, new2);
    QTest::mouseClick(w.cmdChange, Qt::LeftButton);
    QCOMPARE(prompt.texts(), QStringList{message});
    QCOMPARE(prompt.calls.first().title, QStringLiteral("Periksa Entri"));
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Critical);
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(w.txtNewPass1->text(), new1);
    QCOMPARE(users(), before);
}

void UsersTest::changedPasswordTakesEffectAtLogin()
{
    TestDb t;
    addUser("kasir1", "lama1");
    LoginUserName = "kasir1";
    // A password as long as the boxes take, kept whole.
    const QString fresh = "Baru5678901234567890";
    {
        ScriptedPrompt prompt;
        frmSystemChangePass w;
        showAndFocus(&w, w.txtLastPass);
        QTest::keyClicks(w.txtLastPass, "lama1");
        QTest::keyClick(w.txtLastPass, Qt::Key_Escape);
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(prompt.calls.isEmpty());
        QVERIFY(isPassword("kasir1", QStringLiteral("lama1")));
    }
    ScriptedPrompt prompt;
    frmSystemChangePass w;
    showAndFocus(&w, w.txtLastPass);
    QTest::keyClicks(w.txtLastPass, "lama1");
    QTest::keyClick(w.txtLastPass, Qt::Key_Return);
    QTRY_VERIFY(w.txtNewPass1->hasFocus());
    QTest::keyClicks(w.txtNewPass1, fresh);
    QTest::keyClick(w.txtNewPass1, Qt::Key_Return);
    QTest::keyClicks(w.txtNewPass2, fresh);
    QTest::keyClick(w.txtNewPass2, Qt::Key_Return);
    QTRY_VERIFY(w.cmdChange->hasFocus());
    QTest::keyClick(w.cmdChange, Qt::Key_Space);
    QCOMPARE(prompt.texts(), QStringList{"Password telah diganti!"});
    QCOMPARE(prompt.calls.first().title, QStringLiteral("Change Password"));
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Information);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(isPassword("kasir1", fresh));
    QCOMPARE(passwordOf("kasir1"), QString());
    QCOMPARE(passwordOf("admin"), QStringLiteral("pinus"));

    QVERIFY(!loginWorks("kasir1", "lama1"));
    QVERIFY(loginWorks("kasir1", fresh));
}

void UsersTest::managerRefusals_data()
{
    QTest::addColumn<QString>("account"); // chosen in the list first, or empty
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password1");
    QTest::addColumn<QString>("password2");
    QTest::addColumn<QString>("fullName");
    QTest::addColumn<QString>("message");
    const QString missing = "Semua text box harus diisi!";
    QTest::newRow("nothing typed") << "" << "" << "" << "" << "" << missing;
    QTest::newRow("no name") << "" << "" << "a1" << "a1" << "Budi" << missing;
    QTest::newRow("no password") << "" << "budi" << "" << "a1" << "Budi" << missing;
    QTest::newRow("not repeated") << "" << "budi" << "a1" << "" << "Budi" << missing;
    QTest::newRow("no full name") << "" << "budi" << "a1" << "a1" << "" << missing;
    QTest::newRow("blank full name") << "" << "budi" << "a1" << "a1" << "   " << missing;
    QTest::newRow("passwords differ") << "" << "budi" << "a1" << "A1" << "Budi"
                                      << "Password tidak sama!";
    // Choosing an account empties its password boxes: Update asks for them again.
    QTest::newRow("update without passwords") << "kasir1" << "" << "" << "" << "" << missing;
    QTest::newRow("update, passwords differ") << "kasir1" << "" << "x1" << "x2" << ""
                                              << "Password tidak sama!";
}

void UsersTest::managerRefusals()
{
    QFETCH(QString, account);
    QFETCH(QString, name);
    QFETCH(QString, password1);
    QFETCH(QString, password2);
    QFETCH(QString, fullName);
    QFETCH(QString, message);
    TestDb t;
    addUser("kasir1");
    const QString before = users();
    ScriptedPrompt prompt;
    frmSystemManager w;
    showAndFocus(&w, w.txtUsername);
    if (!account.isEmpty()) {
        standOn(w, account);
        QCOMPARE(w.cmdSubmit->text(), QStringLiteral("Update"));
        QCOMPARE(w.txtUsername->text(), account);
        QCOMPARE(w.txtNamaLengkap->text(), QStringLiteral("Pengguna"));
        QCOMPARE(w.txtPassword1->text(), QString());
    }
    QTest::keyClicks(w.txtUsername, name);
    QTest::keyClicks(w.txtPassword1, password1);
    QTest::keyClicks(w.txtPassword2, password2);
    QTest::keyClicks(w.txtNamaLengkap, fullName);
    QTest::mouseClick(w.cmdSubmit, Qt::LeftButton);
    QCOMPARE(prompt.texts(), QStringList{message});
    QCOMPARE(prompt.calls.first().title, QStringLiteral("Periksa Entri"));
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Critical);
    QCOMPARE(users(), before);
}

void UsersTest::addThenUpdate()
{
    TestDb t;
    ScriptedPrompt prompt;
    frmSystemManager w;
    showAndFocus(&w, w.txtUsername);
    QCOMPARE(w.cmdSubmit->text(), QStringLiteral("Submit"));
    const QString password = "Abcdefghij0123456789";
    QTest::keyClicks(w.txtUsername, "budi");
    QTest::keyClicks(w.txtPassword1, password);
    QTest::keyClicks(w.txtPassword2, password);
    QTest::keyClicks(w.txtNamaLengkap, "Budi Santoso");
    QTest::mouseClick(w.cmdSubmit, Qt::LeftButton);
    QCOMPARE(prompt.texts(), QStringList{"Data telah disimpan."});
    QCOMPARE(prompt.calls.first().title, QStringLiteral("User Management"));
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Information);
    const RowSet row = Db::select("SELECT user_password, user_namalengkap, user_date, user_author "
                                  "FROM tvr_user WHERE user_name = 'budi'");
    QCOMPARE(row.size(), 1);
    QCOMPARE(row.rows.first(),
             (QVariantList{QString(), "Budi Santoso", Regional::today(), "tester"}));
    QVERIFY(isPassword("budi", password));
    // After an insert the editor is empty again, in insert mode.
    QCOMPARE(w.txtUsername->text(), QString());
    QCOMPARE(w.txtNamaLengkap->text(), QString());
    QCOMPARE(w.cmdSubmit->text(), QStringLiteral("Submit"));
    QCOMPARE(w.rsUsers->rowCount(), 2);

    // Typing an existing name in another letter case finds it: the box keeps
    // what was typed, the list stands on the account as stored.
    QTest::keyClicks(w.txtUsername, "BUDI");
    QCOMPARE(w.txtUsername->text(), QStringLiteral("BUDI"));
    QCOMPARE(w.rsUsers->value(w.dtGridUsers->currentIndex().row(), "user_name").toString(),
             QStringLiteral("budi"));
    QCOMPARE(w.txtNamaLengkap->text(), QStringLiteral("Budi Santoso"));
    QCOMPARE(w.cmdSubmit->text(), QStringLiteral("Update"));
    QTest::keyClicks(w.txtPassword1, "neu1");
    QTest::keyClicks(w.txtPassword2, "neu1");
    w.txtNamaLengkap->clear();
    QTest::keyClicks(w.txtNamaLengkap, "Budi S");
    prompt.clear();
    QTest::mouseClick(w.cmdSubmit, Qt::LeftButton);
    QCOMPARE(prompt.texts(), QStringList{"Data telah disimpan."});
    QVERIFY(isPassword("budi", "neu1"));
    QCOMPARE(Db::select("SELECT user_name, user_password, user_namalengkap, user_date, user_author "
                        "FROM tvr_user WHERE iduser = 2")
                 .rows.first(),
             (QVariantList{"budi", QString(), "Budi S", Regional::today(), "tester"}));
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_user").toInt(), 2);
    // After an update the editor stays on the account and asks for a password again.
    QCOMPARE(w.txtUsername->text(), QStringLiteral("BUDI"));
    QCOMPARE(w.txtNamaLengkap->text(), QStringLiteral("Budi S"));
    QCOMPARE(w.txtPassword1->text(), QString());
    QCOMPARE(w.cmdSubmit->text(), QStringLiteral("Update"));

    // The list cannot be edited in place.
    const QString before = users();
    const QRect cell = w.dtGridUsers->visualRect(w.rsUsers->index(0, 2));
    QTest::mouseDClick(w.dtGridUsers->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClicks(QApplication::focusWidget(), "Zzz");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!(w.rsUsers->flags(w.rsUsers->index(0, 2)) & Qt::ItemIsEditable));
    QCOMPARE(users(), before);
}

void UsersTest::keyFiltersAndLengths()
{
    TestDb t;
    // Keys past a box's length are refused with its limit, never cut
    // silently, in a note beside the box rather than a box of its own.
    ScriptedPrompt prompt;
    frmSystemManager w;
    showAndFocus(&w, w.txtUsername);
    QTest::keyClicks(w.txtUsername, "bu d'i-1\";xyzw");
    QCOMPARE(InputConventions::noteText(&w), QStringLiteral("Isian ini paling banyak 8 karakter."));
    QVERIFY(prompt.calls.isEmpty());
    QCOMPARE(w.txtUsername->text(), QStringLiteral("budi1xyz"));
    QTest::keyClicks(w.txtPassword1, "a b'c" + QString(25, 'p'));
    QCOMPARE(w.txtPassword1->text(), "abc" + QString(25, 'p'));
    QTest::keyClicks(w.txtNamaLengkap, "Budi O'Neil-Santoso 2nd and more");
    QCOMPARE(w.txtNamaLengkap->text(), QStringLiteral("Budi ONeilSantoso 2n"));

    frmSystemChangePass c;
    showAndFocus(&c, c.txtLastPass);
    for (QLineEdit* e : {c.txtLastPass, c.txtNewPass1, c.txtNewPass2}) {
        QTest::keyClicks(e, "x y'z" + QString(25, '9'));
        QCOMPARE(e->text(), "xyz" + QString(25, '9'));
    }
}

void UsersTest::authorRule_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("kept");
    QTest::newRow("nothing") << "" << false;
    QTest::newRow("a ledger row") << "INSERT INTO tvr_stock (stock_name, stock_author) "
                                     "VALUES ('variant', ?)"
                                  << true;
    QTest::newRow("a variant") << "INSERT INTO tvr_dtvariant (variant_kode, variant_author) "
                                  "VALUES ('V1', ?)"
                               << true;
    QTest::newRow("a bottle type") << "INSERT INTO tvr_dtbotol (botol_tipe, botol_author) "
                                      "VALUES ('Kaca', ?)"
                                   << true;
    QTest::newRow("one sale") << "INSERT INTO tvr_sales (sales_idcust, sales_author) VALUES (1, ?)"
                              << true;
    QTest::newRow("customers only") << "INSERT INTO tvr_customer (cust_nomor, cust_author) "
                                       "VALUES ('C1', ?)"
                                    << false;
    QTest::newRow("accounts it created")
        << "INSERT INTO tvr_user (user_name, user_author) VALUES ('other', ?)" << false;
}

void UsersTest::authorRule()
{
    QFETCH(QString, written);
    QFETCH(bool, kept);
    TestDb t;
    const int id = addUser("kasir1");
    addUser("kasir2");
    if (!written.isEmpty())
        Db::exec(written, {"kasir1"});
    const QString before = users();
    ScriptedPrompt prompt;
    frmSystemManager w;
    showAndFocus(&w, w.txtUsername);
    standOn(w, "kasir1");

    if (kept) {
        // Refused, saying why.
        QTest::keyClick(w.dtGridUsers, Qt::Key_Delete);
        QCOMPARE(prompt.texts(),
                 QStringList{"User 'kasir1' tidak dapat dihapus: namanya tercatat sebagai penulis "
                             "rekaman stock, variant, tipe botol atau penjualan."});
        QCOMPARE(prompt.calls.first().title, QStringLiteral("Hapus Record"));
        QCOMPARE(users(), before);
        return;
    }
    // The question names the account by its user name and full name; No keeps it.
    Q_UNUSED(id);
    prompt.answers << Prompt::Answer::No;
    QTest::keyClick(w.dtGridUsers, Qt::Key_Delete);
    QCOMPARE(prompt.texts(), QStringList{"Yakin akan menghapus user 'kasir1' (Pengguna)?"});
    QCOMPARE(prompt.calls.first().title, QStringLiteral("Hapus Record"));
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Question);
    QCOMPARE(prompt.calls.first().buttons, Prompt::Buttons::YesNo);
    QCOMPARE(users(), before);

    prompt.clear();
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("sudah keluar");
    QTest::keyClick(w.dtGridUsers, Qt::Key_Delete);
    QCOMPARE(prompt.texts().last(), QStringLiteral("Record telah dihapus!"));
    QCOMPARE(prompt.calls.last().title, QStringLiteral("Hapus Record"));
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_user WHERE user_name = 'kasir1'").toInt(), 0);
    QCOMPARE(w.rsUsers->rowCount(), Db::scalar("SELECT COUNT(*) FROM tvr_user").toInt());
    QCOMPARE(w.txtUsername->text(), QString());
    QCOMPARE(w.cmdSubmit->text(), QStringLiteral("Submit"));
}

void UsersTest::lastAccountStays()
{
    TestDb t;
    ScriptedPrompt prompt;
    frmSystemManager w;
    showAndFocus(&w, w.txtUsername);
    standOn(w, "admin");
    const QString before = users();
    QTest::keyClick(w.dtGridUsers, Qt::Key_Delete);
    QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
    const QString why = "User 'admin' tidak dapat dihapus: user terakhir harus tetap ada.";
    QCOMPARE(prompt.texts(), (QStringList{why, why}));
    QCOMPARE(users(), before);
}

void UsersTest::userNameRule_data()
{
    QTest::addColumn<QStringList>("accounts");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found"); // the account as stored, or empty
    QTest::newRow("exact") << QStringList{"kasir2"} << "kasir2" << "kasir2";
    QTest::newRow("other letter case") << QStringList{"admin2"} << "ADMIN2" << "admin2";
    QTest::newRow("stored in capitals") << QStringList{"ADMIN2"} << "admin2" << "ADMIN2";
    QTest::newRow("two spellings, neither typed") << QStringList{"kasir", "KASIR"} << "Kasir" << "";
    QTest::newRow("two spellings, one typed") << QStringList{"kasir", "KASIR"} << "KASIR"
                                              << "KASIR";
    QTest::newRow("a new name") << QStringList{"kasir"} << "ADMIN3" << "";
}

// Login and the user management find a name by one rule; a name is stored as typed.
void UsersTest::userNameRule()
{
    QFETCH(QStringList, accounts);
    QFETCH(QString, typed);
    QFETCH(QString, found);
    TestDb t;
    for (const QString& name : accounts)
        addUser(name, "rahasia", "Nama " + name);
    LoginUserName = "tester";
    QCOMPARE(loginWorks(typed, "rahasia"), !found.isEmpty());
    QCOMPARE(LoginUserName, found.isEmpty() ? QStringLiteral("tester") : found);
    // The accounts added are cashiers: the owner manages them.
    LoginUserName = "tester";
    Rights::setCurrentRole(Rights::Role::Owner);

    ScriptedPrompt prompt;
    frmSystemManager w;
    showAndFocus(&w, w.txtUsername);
    QTest::keyClicks(w.txtUsername, typed);
    QCOMPARE(w.txtUsername->text(), typed);
    QCOMPARE(w.txtNamaLengkap->text(), found.isEmpty() ? QString() : "Nama " + found);
    QTest::keyClicks(w.txtPassword1, "baru1");
    QTest::keyClicks(w.txtPassword2, "baru1");
    w.txtNamaLengkap->setText("Baru");
    QTest::mouseClick(w.cmdSubmit, Qt::LeftButton);
    // A new name that an account has in another letter case is refused.
    const bool added = found.isEmpty() && !accounts.contains(typed, Qt::CaseInsensitive);
    QCOMPARE(prompt.texts().first(), found.isEmpty() && !added ? "Username sudah ada!"
                                                               : "Data telah disimpan.");
    if (found.isEmpty() && !added)
        QVERIFY(!UserStore::findUser(typed) || !isPassword(typed, "baru1"));
    else
        QVERIFY(isPassword(added ? typed : found, "baru1"));
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_user").toInt(), int(accounts.size()) + 1 + added);
}

void UsersTest::deleteConcernsTheNamedAccount_data()
{
    QTest::addColumn<QString>("typed"); // after choosing "idle1" in the list; "-" presses New
    QTest::addColumn<QString>("deleted"); // or the refusal
    QTest::newRow("after New") << "-" << "Pilih user yang akan dihapus.";
    QTest::newRow("a name that has written")
        << "writer"
        << "User 'writer' tidak dapat dihapus: namanya tercatat sebagai penulis rekaman stock, "
           "variant, tipe botol atau penjualan.";
    QTest::newRow("an unknown name") << "nobody" << "Username tidak ditemukan!";
    QTest::newRow("another idle name") << "idle2" << "idle2";
    QTest::newRow("the chosen name") << "idle1" << "idle1";
    QTest::newRow("the chosen name in capitals") << "IDLE1" << "idle1";
}

void UsersTest::deleteConcernsTheNamedAccount()
{
    QFETCH(QString, typed);
    QFETCH(QString, deleted);
    TestDb t;
    addUser("idle1");
    const int idle2 = addUser("idle2");
    addUser("writer");
    Db::exec("INSERT INTO tvr_sales (sales_idcust, sales_author) VALUES (1, 'writer')");
    const int idle1 = Db::scalar("SELECT iduser FROM tvr_user WHERE user_name = 'idle1'").toInt();
    const QString before = users();
    ScriptedPrompt prompt;
    frmSystemManager w;
    showAndFocus(&w, w.txtUsername);
    standOn(w, "idle1");
    if (typed == "-") {
        QTest::mouseClick(w.cmdNew, Qt::LeftButton);
    } else {
        w.txtUsername->clear();
        QTest::keyClicks(w.txtUsername, typed);
    }
    const bool refused = deleted.contains(' ');
    if (!refused) {
        prompt.answers << Prompt::Answer::Yes;
        prompt.inputs << QStringLiteral("sudah keluar");
    }
    QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
    if (refused) {
        QCOMPARE(prompt.texts(), QStringList{deleted});
        QCOMPARE(users(), before);
        return;
    }
    Q_UNUSED(idle1);
    Q_UNUSED(idle2);
    QCOMPARE(prompt.texts().first(),
             QStringLiteral("Yakin akan menghapus user '%1' (Pengguna)?").arg(deleted));
    QStringList left{"admin", "idle1", "idle2", "writer"};
    left.removeOne(deleted);
    QStringList names;
    for (const QVariantList& row : Db::select("SELECT user_name FROM tvr_user ORDER BY iduser").rows)
        names << row.first().toString();
    QCOMPARE(names, left);
}

void UsersTest::rowWrittenWhileAskingKeepsTheAccount()
{
    TestDb t;
    addUser("kasir1");
    HookedPrompt prompt;
    // The account writes a sale while the question is open: the deletion's own
    // checks find it and nothing is deleted.
    prompt.hook = [] {
        Db::exec("INSERT INTO tvr_sales (sales_idcust, sales_author) VALUES (1, 'kasir1')");
    };
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("sudah keluar");
    frmSystemManager w;
    showAndFocus(&w, w.txtUsername);
    standOn(w, "kasir1");
    QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
    QCOMPARE(prompt.calls.size(), 3);
    QVERIFY(prompt.lastText().startsWith("User 'kasir1' tidak dapat dihapus"));
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_user WHERE user_name = 'kasir1'").toInt(), 1);
}

QTEST_MAIN(UsersTest)
#include "tst_users.moc"
