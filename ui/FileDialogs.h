#pragma once

#include <QFileIconProvider>
#include <QString>

#include <memory>

class QFileDialog;
class QWidget;

// The program's file dialogs. They never start in the database's folder and
// never open a file to find its icon or type: SQLite's locks belong to the
// process, and closing any descriptor of the database, its -wal or -shm drops
// them all, so another program on the file would think itself alone.
namespace FileDialogs {

// Icons and type names from the name alone: a folder, a file. Qt's own
// provider asks the MIME database, which reads the start of every file shown.
class PlainIconProvider : public QFileIconProvider {
public:
    PlainIconProvider();
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

// The folder a save dialog starts in: the last one a file was saved to, else
// the user's documents folder; never the database's folder.
QString startFolder();
// Remembers the folder of a file just chosen.
void remember(const QString& chosenPath);

// A save dialog built of Qt's own widgets (a platform dialog brings its own
// file sniffing) with the plain icons, opened in `folder` or, when that is the
// database's folder, in the documents folder; `fileName` is offered.
std::unique_ptr<QFileDialog> saveDialog(QWidget* parent, const QString& caption,
                                        const QString& folder, const QString& fileName,
                                        const QString& filter);

// Asks for a file to save: `suggestedPath` gives the folder and the name.
// Returns the chosen path, or an empty text when cancelled.
QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                     const QString& filter);

} // namespace FileDialogs
