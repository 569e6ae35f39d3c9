#include "FileDialogs.h"

#include "core/Connection.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace FileDialogs {

namespace {

QString& rememberedFolder() {
    static QString folder;
    return folder;
}

QString canonical(const QString& folder) {
    const QString real = QFileInfo(folder).canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : real;
}

QString documentsFolder() {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty())
        docs = QDir::homePath();
    return docs;
}

bool isDatabaseFolder(const QString& folder) {
    const QString db = Connection::databaseFile();
    return !db.isEmpty() && !folder.isEmpty() &&
           canonical(QFileInfo(db).absolutePath()) == canonical(folder);
}

// The folder itself when it is not the database's, else the documents folder
// (or, should the database live there, the home folder).
QString awayFromDatabase(const QString& folder) {
    if (!folder.isEmpty() && !isDatabaseFolder(folder))
        return folder;
    const QString docs = documentsFolder();
    return isDatabaseFolder(docs) ? QDir::homePath() : docs;
}

} // namespace

PlainIconProvider::PlainIconProvider() {
    setOptions(QFileIconProvider::DontUseCustomDirectoryIcons);
}

QIcon PlainIconProvider::icon(IconType type) const {
    return QFileIconProvider::icon(type);
}

QIcon PlainIconProvider::icon(const QFileInfo& info) const {
    if (info.isRoot())
        return QFileIconProvider::icon(QFileIconProvider::Drive);
    return QFileIconProvider::icon(info.isDir() ? QFileIconProvider::Folder
                                                : QFileIconProvider::File);
}

QString PlainIconProvider::type(const QFileInfo& info) const {
    if (info.isDir())
        return QStringLiteral("Folder");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("File")
                            : QStringLiteral("File %1").arg(suffix.toUpper());
}

QString startFolder() {
    return awayFromDatabase(rememberedFolder());
}

void remember(const QString& chosenPath) {
    rememberedFolder() = QFileInfo(chosenPath).absolutePath();
}

std::unique_ptr<QFileDialog> saveDialog(QWidget* parent, const QString& caption,
                                        const QString& folder, const QString& fileName,
                                        const QString& filter) {
    auto dialog = std::make_unique<QFileDialog>(parent, caption);
    // Options first: the model that lists files takes the provider when made.
    dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontUseCustomDirectoryIcons);
    // One provider for every dialog, alive as long as the program.
    static PlainIconProvider provider;
    dialog->setIconProvider(&provider);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(filter);
    dialog->setDirectory(awayFromDatabase(folder));
    if (!fileName.isEmpty())
        dialog->selectFile(fileName);
    return dialog;
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                     const QString& filter) {
    const QFileInfo suggested(suggestedPath);
    const QString folder = suggested.path().isEmpty() || suggested.path() == QLatin1String(".")
                               ? startFolder()
                               : suggested.absolutePath();
    auto dialog = saveDialog(parent, caption, folder, suggested.fileName(), filter);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog->selectedFiles().constFirst();
    remember(chosen);
    return chosen;
}

} // namespace FileDialogs
