#include "Prompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace Prompt {

namespace {

QWidget* parentWindow()
{
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

class DialogHandler : public Handler {
public:
    Answer message(const QString& text, const QString& title, Icon icon,
                   Buttons buttons) override
    {
        QMessageBox box(parentWindow());
        box.setWindowTitle(title);
        box.setText(text);
        switch (icon) {
        case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::None: break;
        }
        QMessageBox::StandardButtons set = QMessageBox::Ok;
        switch (buttons) {
        case Buttons::Ok: break;
        case Buttons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
        case Buttons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
        case Buttons::YesNoCancel:
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
        }
        QMessageBox::StandardButton def = QMessageBox::Ok;
        switch (defaultAnswer(buttons)) {
        case Answer::Ok: def = QMessageBox::Ok; break;
        case Answer::Cancel: def = QMessageBox::Cancel; break;
        case Answer::Yes: def = QMessageBox::Yes; break;
        case Answer::No: def = QMessageBox::No; break;
        }
        box.setStandardButtons(set);
        box.setDefaultButton(def);
        switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default:
            // Closing a Yes/No box by its title bar counts as the safe answer.
            if (buttons == Buttons::YesNo)
                return Answer::No;
            if (buttons == Buttons::YesNoCancel || buttons == Buttons::OkCancel)
                return Answer::Cancel;
            return Answer::Ok;
        }
    }

    std::optional<QString> input(const QString& text, const QString& title,
                                 const QString& defaultText) override
    {
        bool ok = false;
        const QString value = QInputDialog::getText(parentWindow(), title, text,
                                                    QLineEdit::Normal, defaultText, &ok);
        if (!ok)
            return std::nullopt;
        return value;
    }
};

DialogHandler dialogs;
Handler* current = &dialogs;

} // namespace

Answer defaultAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::YesNo: return Answer::Yes;
    case Buttons::YesNoCancel: return Answer::Cancel;
    case Buttons::Ok:
    case Buttons::OkCancel: break;
    }
    return Answer::Ok;
}

Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons)
{
    return current->message(text, title, icon, buttons);
}

std::optional<QString> input(const QString& text, const QString& title,
                             const QString& defaultText)
{
    return current->input(text, title, defaultText);
}

void setHandler(Handler* handler)
{
    current = handler ? handler : &dialogs;
}

void databaseError(const DbError& error)
{
    // A right refused inside the transaction is no database fault: its own words.
    if (error.code() == QLatin1String("TVR-HAK")) {
        message(error.text(), QStringLiteral("Hak Akses"), Icon::Exclamation);
        return;
    }
    message(QStringLiteral("Terjadi kesalahan pada database. Tindakan ini dibatalkan; "
                           "tidak ada data yang tersimpan sebagian.\n\nKeterangan: %1")
                .arg(error.text()),
            QStringLiteral("DATABASE ERROR"), Icon::Critical);
}

} // namespace Prompt
