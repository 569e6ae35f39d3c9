#include "frmSystemLogin.h"

#include "core/Globals.h"
#include "core/Password.h"
#include "core/Rights.h"
#include "core/Trail.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "users/UserStore.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString waitText(const QString& name, int seconds)
{
    return QStringLiteral("Terlalu banyak password salah untuk user '%1'. Tunggu %2 detik "
                          "sebelum mencoba lagi.")
        .arg(name)
        .arg(seconds);
}
} // namespace

frmSystemLogin::frmSystemLogin(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSystemLogin"));
    setWindowTitle(QStringLiteral("Login"));
    DoApplyWindowLook(this);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(QPixmap(QStringLiteral(":/login_logo.png")));
    logo->setFixedSize(54, 49);

    auto* title = new QLabel(QStringLiteral("TavoruSystem"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("Frame1"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    txtUsername = new QLineEdit(this);
    txtUsername->setObjectName(QStringLiteral("txtUsername"));
    txtUsername->setMaxLength(8);
    txtUsername->setProperty("tag", QStringLiteral("input"));

    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setMaxLength(Password::MaxLength);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setProperty("tag", QStringLiteral("input"));

    cmdLogin = new QPushButton(QStringLiteral("Login"), this);
    cmdLogin->setObjectName(QStringLiteral("cmdLogin"));
    cmdLogin->setAutoDefault(false);
    cmdLogin->setMinimumWidth(90);

    auto* head = new QHBoxLayout;
    head->addWidget(logo);
    head->addSpacing(8);
    head->addWidget(title, 1);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Username :"), this), 0, 0);
    form->addWidget(txtUsername, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Password :"), this), 1, 0);
    form->addWidget(txtPassword, 1, 1);
    form->setColumnMinimumWidth(1, 180);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdLogin);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(separator);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtUsername, txtPassword);
    setTabOrder(txtPassword, cmdLogin);

    InputRules rules;
    rules.txtKeys = KeySet::UserName;
    InputConventions::install(this, rules);

    connect(cmdLogin, &QPushButton::clicked, this, &frmSystemLogin::cmdLogin_Click);
    txtUsername->setFocus();
}

bool frmSystemLogin::entryComplete(QLineEdit* username, QLineEdit* password)
{
    const QString title = QStringLiteral("Periksa Entri");
    if (username->text().isEmpty()) {
        Prompt::message(QStringLiteral("Username harus diisi."), title, Prompt::Icon::Critical);
        username->setFocus();
        return false;
    }
    if (password->text().isEmpty()) {
        Prompt::message(QStringLiteral("Password haru diisi."), title, Prompt::Icon::Critical);
        password->setFocus();
        return false;
    }
    return true;
}

void frmSystemLogin::cmdLogin_Click()
{
    if (!frmSystemLogin::entryComplete(txtUsername, txtPassword))
        return;
    const QString title = QStringLiteral("Periksa Entri");
    const QString name = txtUsername->text();
    UserStore::LoginResult result;
    if (!guardDb([&] { result = UserStore::login(name, txtPassword->text()); }))
        return;
    if (result.wait > 0) {
        // Tried again too soon after many wrong passwords: nothing was checked.
        Prompt::message(waitText(name, result.wait), title, Prompt::Icon::Critical);
        txtPassword->setFocus();
        txtPassword->selectAll();
        return;
    }
    if (!result.user) {
        QString text = QStringLiteral("Username atau password salah.");
        int wait = 0;
        guardDb([&] { wait = UserStore::secondsToWait(name, Trail::now()); });
        if (wait > 0)
            text += QStringLiteral("\n\n") + waitText(name, wait);
        Prompt::message(text, title, Prompt::Icon::Critical);
        // Selected, so the name is typed again over the wrong one.
        txtUsername->setFocus();
        txtUsername->selectAll();
        return;
    }
    LoginUserName = result.user->name;
    LoginFullName = result.user->fullName;
    Rights::setCurrentRole(result.user->owner ? Rights::Role::Owner : Rights::Role::Cashier);
    accept();
}
