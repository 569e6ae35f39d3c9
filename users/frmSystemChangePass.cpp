#include "frmSystemChangePass.h"

#include "core/Globals.h"
#include "core/Password.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"
#include "users/UserStore.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// As many characters as the login accepts; only the hash is stored.
constexpr int PasswordLength = Password::MaxLength;

QLineEdit* passwordBox(const QString& name, QWidget* parent)
{
    QLineEdit* e = namedLineEdit(parent, name, QStringLiteral("input"), PasswordLength);
    e->setEchoMode(QLineEdit::Password);
    return e;
}
} // namespace

frmSystemChangePass::frmSystemChangePass(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSystemChangePass"));
    setWindowTitle(QStringLiteral("Change Password"));
    DoApplyWindowLook(this);

    txtLastPass = passwordBox(QStringLiteral("txtLastPass"), this);
    txtNewPass1 = passwordBox(QStringLiteral("txtNewPass1"), this);
    txtNewPass2 = passwordBox(QStringLiteral("txtNewPass2"), this);

    cmdChange = namedButton(this, QStringLiteral("cmdChange"), QStringLiteral("Change"), 90);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Password Lama :"), this), 0, 0);
    form->addWidget(txtLastPass, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Password Baru :"), this), 1, 0);
    form->addWidget(txtNewPass1, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Ulangi Password :"), this), 2, 0);
    form->addWidget(txtNewPass2, 2, 1);
    form->setColumnMinimumWidth(1, 180);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdChange);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtLastPass, txtNewPass1);
    setTabOrder(txtNewPass1, txtNewPass2);
    setTabOrder(txtNewPass2, cmdChange);

    InputRules rules;
    rules.txtKeys = KeySet::UserName;
    InputConventions::install(this, rules);

    connect(cmdChange, &QPushButton::clicked, this, &frmSystemChangePass::cmdChange_Click);
    txtLastPass->setFocus();
}

void frmSystemChangePass::cmdChange_Click()
{
    const QString title = QStringLiteral("Periksa Entri");
    auto refuse = [&](const QString& text, QLineEdit* focus) {
        Prompt::message(text, title, Prompt::Icon::Critical);
        focus->setFocus();
    };
    if (txtLastPass->text().isEmpty())
        return refuse(QStringLiteral("Password lama harus diisi."), txtLastPass);
    if (txtNewPass1->text().isEmpty())
        return refuse(QStringLiteral("Password baru harus diisi."), txtNewPass1);
    if (txtNewPass2->text().isEmpty())
        return refuse(QStringLiteral("Password baru harus diisi."), txtNewPass2);
    if (txtNewPass1->text() != txtNewPass2->text())
        return refuse(QStringLiteral("Password tidak sama!"), txtNewPass1);

    bool changed = false;
    if (!guardDb([&] {
            changed = UserStore::changePassword(LoginUserName, txtLastPass->text(),
                                                txtNewPass2->text());
        }))
        return;
    if (!changed)
        return refuse(QStringLiteral("Password lama salah!"), txtLastPass);
    Prompt::message(QStringLiteral("Password telah diganti!"), windowTitle(),
                    Prompt::Icon::Information);
    accept();
}
