#include "frmSystemManager.h"

#include "core/Password.h"
#include "core/Trail.h"
#include "ui/GridColumns.h"
#include "ui/GridFit.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Reason.h"
#include "ui/Widgets.h"
#include "users/UserStore.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString EntryTitle = QStringLiteral("Periksa Entri");
const QString DeleteTitle = QStringLiteral("Hapus Record");

// Passwords take as many characters as the login accepts and the column holds.
constexpr int NameLength = 8;
constexpr int PasswordLength = Password::MaxLength;
constexpr int FullNameLength = 20;

// The list as read by UserStore::listUsers; passwords are never read into it.
QList<GridColumn> userColumns()
{
    return {
        {QString(), 0},
        {QStringLiteral("Username"), 1000},
        {QStringLiteral("Nama Langkap"), 2000},
        {QStringLiteral("Date"), 1000},
        {QStringLiteral("Author"), 1000},
        {QStringLiteral("Peran"), 1000},
    };
}

} // namespace

frmSystemManager::frmSystemManager(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSystemManager"));
    setWindowTitle(QStringLiteral("User Management"));
    DoApplyWindowLook(this);

    fraEditor = new QGroupBox(this);
    fraEditor->setObjectName(QStringLiteral("fraEditor"));
    txtUsername = namedLineEdit(fraEditor, QStringLiteral("txtUsername"), QStringLiteral("input"),
                                NameLength);
    txtPassword1 = namedLineEdit(fraEditor, QStringLiteral("txtPassword1"), QStringLiteral("input"),
                                 PasswordLength);
    txtPassword1->setEchoMode(QLineEdit::Password);
    txtPassword2 = namedLineEdit(fraEditor, QStringLiteral("txtPassword2"), QStringLiteral("input"),
                                 PasswordLength);
    txtPassword2->setEchoMode(QLineEdit::Password);
    // A full name is letters, digits and blanks ("Budi Santoso"): its own key set.
    txtNamaLengkap = namedLineEdit(fraEditor, QStringLiteral("txtNamaLengkap"),
                                   QStringLiteral("input_str"), FullNameLength);
    chkPemilik = new QCheckBox(QStringLiteral("Pemilik"), fraEditor);
    chkPemilik->setObjectName(QStringLiteral("chkPemilik"));

    auto* form = new QGridLayout(fraEditor);
    form->addWidget(new QLabel(QStringLiteral("Username :"), fraEditor), 0, 0);
    form->addWidget(txtUsername, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Password :"), fraEditor), 1, 0);
    form->addWidget(txtPassword1, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Re-Password :"), fraEditor), 2, 0);
    form->addWidget(txtPassword2, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("Nama Lengkap :"), fraEditor), 3, 0);
    form->addWidget(txtNamaLengkap, 3, 1);
    form->addWidget(chkPemilik, 4, 1);
    form->setColumnMinimumWidth(1, 200);
    form->setColumnStretch(1, 1);

    cmdSubmit = namedButton(this, QStringLiteral("cmdSubmit"), QStringLiteral("&Submit"), 80);
    cmdNew = namedButton(this, QStringLiteral("cmdNew"), QStringLiteral("&New"), 80);
    cmdDelete = namedButton(this, QStringLiteral("cmdDelete"), QStringLiteral("&Delete"), 80);
    cmdQuit = namedButton(this, QStringLiteral("cmdQuit"), QStringLiteral("&Quit"), 80);

    dtGridUsers = new QTableView(this);
    dtGridUsers->setObjectName(QStringLiteral("dtGridUsers"));
    dtGridUsers->setTabKeyNavigation(false);
    rsUsers = new RowSetModel(this);
    // Read-only: an account changes only through the editor and its checks.
    setUpGrid(dtGridUsers, rsUsers);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSubmit);
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdDelete);
    buttons->addStretch(1);
    buttons->addWidget(cmdQuit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraEditor);
    layout->addLayout(buttons);
    layout->addWidget(dtGridUsers, 1);

    const QList<QWidget*> tabs{txtUsername, txtPassword1, txtPassword2, txtNamaLengkap, chkPemilik,
                               cmdSubmit,   cmdNew,       cmdDelete,    cmdQuit,        dtGridUsers};
    for (int i = 0; i + 1 < tabs.size(); ++i)
        setTabOrder(tabs.at(i), tabs.at(i + 1));

    InputRules rules;
    rules.txtKeys = KeySet::UserName;
    rules.strKeys = KeySet::UserName + QLatin1Char(' ');
    InputConventions::install(this, rules);
    dtGridUsers->installEventFilter(this);

    connect(txtUsername, &QLineEdit::textChanged, this,
            [this](const QString& text) { guardDb([&] { DoGetUser(text); }); });
    connect(cmdSubmit, &QPushButton::clicked, this, &frmSystemManager::cmdSubmit_Click);
    connect(cmdNew, &QPushButton::clicked, this, &frmSystemManager::cmdNew_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmSystemManager::cmdDelete_Click);
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    connect(dtGridUsers->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                dtGridUsers_RowColChange(current.isValid() ? current.row() : -1);
            });
    // A click on the row the list already stands on fills the editor as well.
    connect(dtGridUsers, &QTableView::clicked, this,
            [this](const QModelIndex& index) { dtGridUsers_RowColChange(index.row()); });

    guardDb([this] { DoGetList(); });
    dtGridUsers->setMinimumSize(gridWidthFor(dtGridUsers), 220);
    isRefreshing = false;
    cmdNew_Click();
}

void frmSystemManager::DoGetList(const QString& current)
{
    const RowSet rows = UserStore::listUsers();
    const bool wasRefreshing = isRefreshing;
    isRefreshing = true;
    rsUsers->setRows(rows);
    applyGridColumns(dtGridUsers, userColumns());
    if (rsUsers->rowCount() > 0) {
        int row = 0;
        for (int r = 0; r < rsUsers->rowCount(); ++r)
            if (rsUsers->value(r, QStringLiteral("user_name")).toString() == current)
                row = r;
        dtGridUsers->selectionModel()->setCurrentIndex(
            rsUsers->index(row, 1),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    isRefreshing = wasRefreshing;
}

void frmSystemManager::DoGetUser(const QString& name)
{
    const std::optional<UserStore::User> user = UserStore::findUser(name);
    txtPassword1->clear();
    txtPassword2->clear();
    if (!user) {
        txtNamaLengkap->clear();
        chkPemilik->setChecked(false);
        cmdSubmit->setText(QStringLiteral("Submit"));
        return;
    }
    // The box keeps what was typed; the list shows the account found, with
    // its name as stored.
    if (const QModelIndex current = dtGridUsers->currentIndex();
        !current.isValid() || rsUsers->value(current.row(), QStringLiteral("iduser")).toInt() !=
                                  user->id) {
        for (int r = 0; r < rsUsers->rowCount(); ++r)
            if (rsUsers->value(r, QStringLiteral("iduser")).toInt() == user->id) {
                const bool wasRefreshing = isRefreshing;
                isRefreshing = true;
                dtGridUsers->selectionModel()->setCurrentIndex(
                    rsUsers->index(r, 1),
                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                isRefreshing = wasRefreshing;
            }
    }
    txtNamaLengkap->setText(user->fullName);
    chkPemilik->setChecked(user->owner);
    cmdSubmit->setText(QStringLiteral("Update"));
}

void frmSystemManager::dtGridUsers_RowColChange(int row)
{
    if (rsUsers->rowCount() == 0) {
        cmdNew_Click();
        return;
    }
    if (isRefreshing || row < 0 || row >= rsUsers->rowCount())
        return;
    const QString name = rsUsers->value(row, QStringLiteral("user_name")).toString();
    if (txtUsername->text() == name)
        guardDb([&] { DoGetUser(name); });
    else
        txtUsername->setText(name); // looks the account up
    txtNamaLengkap->setText(rsUsers->value(row, QStringLiteral("user_namalengkap")).toString());
    txtPassword1->clear();
    txtPassword2->clear();
    cmdSubmit->setText(QStringLiteral("Update"));
}

void frmSystemManager::cmdNew_Click()
{
    DoClearInputs(QStringLiteral("input"), this);
    chkPemilik->setChecked(false);
    cmdSubmit->setText(QStringLiteral("Submit"));
    txtUsername->setFocus();
}

void frmSystemManager::cmdSubmit_Click()
{
    // A full name of blanks only is no name.
    const QString fullName = txtNamaLengkap->text().trimmed();
    for (QLineEdit* e : {txtUsername, txtPassword1, txtPassword2})
        if (e->text().isEmpty()) {
            Prompt::message(QStringLiteral("Semua text box harus diisi!"), EntryTitle,
                            Prompt::Icon::Critical);
            e->setFocus();
            return;
        }
    if (fullName.isEmpty()) {
        Prompt::message(QStringLiteral("Semua text box harus diisi!"), EntryTitle,
                        Prompt::Icon::Critical);
        txtNamaLengkap->setFocus();
        return;
    }
    if (txtPassword1->text() != txtPassword2->text()) {
        Prompt::message(QStringLiteral("Password tidak sama!"), EntryTitle,
                        Prompt::Icon::Critical);
        txtPassword1->setFocus();
        return;
    }
    isRefreshing = true;
    const QString mode = cmdSubmit->text().toLower();
    const QString name = txtUsername->text();
    const bool saved = DoSubmit(mode);
    if (!saved) {
        isRefreshing = false;
        return;
    }
    guardDb([&] { DoGetList(mode == QLatin1String("update") ? name : QString()); });
    isRefreshing = false;
    if (mode == QLatin1String("update")) {
        // The editor stays on the account, asking for its password again.
        guardDb([&] { DoGetUser(name); });
        txtUsername->setFocus();
    } else {
        cmdNew_Click();
    }
    Prompt::message(QStringLiteral("Data telah disimpan."), windowTitle(),
                    Prompt::Icon::Information);
}

bool frmSystemManager::DoSubmit(const QString& mode)
{
    const QString name = txtUsername->text();
    const QString password = txtPassword1->text();
    const QString fullName = txtNamaLengkap->text().trimmed();
    const bool update = mode == QLatin1String("update");
    const bool owner = chkPemilik->isChecked();
    bool written = false;
    UserStore::Update updated = UserStore::Update::Done;
    if (!guardDb([&] {
            if (update) {
                updated = UserStore::updateUser(name, password, fullName, owner);
                written = updated == UserStore::Update::Done;
            } else {
                written = UserStore::addUser(name, password, fullName, owner);
            }
        }))
        return false;
    if (updated == UserStore::Update::LastOwner) {
        Prompt::message(QStringLiteral("User '%1' adalah pemilik terakhir: tanda Pemilik tidak "
                                       "dapat dilepas.")
                            .arg(name),
                        EntryTitle, Prompt::Icon::Critical);
        chkPemilik->setChecked(true);
        chkPemilik->setFocus();
        return false;
    }
    if (!written) {
        // The account came or went since the name was typed: show it as it is now.
        Prompt::message(update ? QStringLiteral("Username tidak ditemukan!")
                               : QStringLiteral("Username sudah ada!"),
                        EntryTitle, Prompt::Icon::Critical);
        guardDb([&] {
            DoGetList(name);
            DoGetUser(name);
        });
        txtUsername->setFocus();
    }
    return written;
}

void frmSystemManager::cmdDelete_Click()
{
    // The account named in the editor is checked, asked about by its name
    // and full name, and deleted; a refusal says why.
    const QString name = txtUsername->text();
    if (name.isEmpty()) {
        Prompt::message(QStringLiteral("Pilih user yang akan dihapus."), DeleteTitle,
                        Prompt::Icon::Exclamation);
        txtUsername->setFocus();
        return;
    }
    UserStore::DeleteVerdict verdict;
    if (!guardDb([&] { verdict = UserStore::checkDelete(name); }))
        return;
    if (verdict.check != UserStore::DeleteCheck::Allowed) {
        Prompt::message(UserStore::refusalText(verdict), DeleteTitle, Prompt::Icon::Exclamation);
        return;
    }
    if (Prompt::message(QStringLiteral("Yakin akan menghapus user '%1' (%2)?")
                            .arg(verdict.name, verdict.fullName),
                        DeleteTitle, Prompt::Icon::Question,
                        Prompt::Buttons::YesNo) != Prompt::Answer::Yes)
        return;
    const std::optional<QString> reason =
        Reason::ask(QStringLiteral("menghapus user '%1'").arg(verdict.name), DeleteTitle);
    if (!reason)
        return;
    UserStore::DeleteCheck done = UserStore::DeleteCheck::NoSuchUser;
    if (!guardDb([&] {
            const Trail::Reason why(*reason);
            done = UserStore::deleteUser(verdict.id);
        }))
        return;
    if (done != UserStore::DeleteCheck::Allowed) {
        // Something was written by the account, or the account went, meanwhile.
        verdict.check = done;
        Prompt::message(UserStore::refusalText(verdict), DeleteTitle, Prompt::Icon::Exclamation);
        isRefreshing = true;
        guardDb([this] { DoGetList(); });
        isRefreshing = false;
        return;
    }
    isRefreshing = true;
    guardDb([this] { DoGetList(); });
    isRefreshing = false;
    Prompt::message(QStringLiteral("Record telah dihapus!"), DeleteTitle,
                    Prompt::Icon::Information);
    cmdNew_Click();
}

bool frmSystemManager::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dtGridUsers && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        cmdDelete_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
