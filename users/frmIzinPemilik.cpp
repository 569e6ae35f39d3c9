#include "frmIzinPemilik.h"

#include "core/Password.h"
#include "ui/InputConventions.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"
#include "users/UserStore.h"
#include "users/frmSystemLogin.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmIzinPemilik::frmIzinPemilik(Rights::Action action, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIzinPemilik"));
    setWindowTitle(QStringLiteral("Izin Pemilik"));
    DoApplyWindowLook(this);

    lblTindakan = new QLabel(Rights::refusal(action), this);
    lblTindakan->setObjectName(QStringLiteral("lblTindakan"));
    lblTindakan->setWordWrap(true);
    lblTindakan->setMinimumWidth(320);

    txtUsername = namedLineEdit(this, QStringLiteral("txtUsername"), QStringLiteral("input"), 8);
    txtPassword = namedLineEdit(this, QStringLiteral("txtPassword"), QStringLiteral("input"),
                                Password::MaxLength);
    txtPassword->setEchoMode(QLineEdit::Password);
    cmdIzin = namedButton(this, QStringLiteral("cmdIzin"), QStringLiteral("&Izinkan"), 90);
    cmdBatal = namedButton(this, QStringLiteral("cmdBatal"), QStringLiteral("&Batal"), 90);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Username pemilik :"), this), 0, 0);
    form->addWidget(txtUsername, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Password :"), this), 1, 0);
    form->addWidget(txtPassword, 1, 1);
    form->setColumnMinimumWidth(1, 180);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdIzin);
    buttons->addWidget(cmdBatal);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTindakan);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtUsername, txtPassword);
    setTabOrder(txtPassword, cmdIzin);
    setTabOrder(cmdIzin, cmdBatal);

    InputRules rules;
    rules.txtKeys = KeySet::UserName;
    InputConventions::install(this, rules);

    connect(cmdIzin, &QPushButton::clicked, this, &frmIzinPemilik::cmdIzin_Click);
    connect(cmdBatal, &QPushButton::clicked, this, &QDialog::reject);
    txtUsername->setFocus();
}

void frmIzinPemilik::cmdIzin_Click()
{
    if (!frmSystemLogin::entryComplete(txtUsername, txtPassword))
        return;
    const QString title = QStringLiteral("Periksa Entri");
    UserStore::LoginResult r;
    if (!guardDb([&] { r = UserStore::checkOwner(txtUsername->text(), txtPassword->text()); }))
        return;
    if (r.wait > 0) {
        Prompt::message(QStringLiteral("Terlalu banyak password salah untuk user '%1'. Tunggu %2 "
                                       "detik sebelum mencoba lagi.")
                            .arg(txtUsername->text())
                            .arg(r.wait),
                        title, Prompt::Icon::Critical);
        return;
    }
    if (!r.user) {
        Prompt::message(QStringLiteral("Username atau password pemilik salah."), title,
                        Prompt::Icon::Critical);
        txtPassword->clear();
        txtUsername->setFocus();
        txtUsername->selectAll();
        return;
    }
    m_owner = r.user->name;
    accept();
}

std::optional<QString> frmIzinPemilik::ask(Rights::Action action)
{
    frmIzinPemilik w(action, QApplication::activeWindow());
    if (w.exec() != QDialog::Accepted)
        return std::nullopt;
    return w.owner();
}
