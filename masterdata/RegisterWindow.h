#pragma once

#include "core/Db.h"
#include "ui/PagePlan.h"
#include "masterdata/RegisterStore.h"
#include "ui/GridColumns.h"

#include <QDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTableView;
struct InputRules;

// What a register shows in its list.
struct RegisterList {
    QString gridName;          // object name of the grid
    QList<GridColumn> columns; // as designed, by position
    QStringList keys;          // the ordering key of the list, as columns of a page
    QString idColumn;          // the key of a row in its table
    QString nameColumn;        // what the delete question calls a row
    QString keyCaption;        // what the editor's key is called in messages
};

// What the registers of variants, bottle types and customers have in common:
// an editor above a paged list, Submit and New under the editor, the four page
// buttons, the page label and Quit under the list. A row chosen in the list
// fills the editor in "Update" mode for that row, New empties it, and Delete in
// the list removes the row after asking. A window builds its editor and then
// calls assemble().
class RegisterWindow : public QDialog {
    Q_OBJECT
public:
    QPushButton* cmdSubmit;
    QPushButton* cmdNew;
    QList<QPushButton*> cmdNavigasi;
    QPushButton* cmdQuit;
    QLabel* lblPage_i;

    // Counts the rows of the list into NavRecordCount.
    virtual void DoFirstSetNav() = 0;

protected:
    RegisterWindow(const QString& name, const RegisterList& list, QWidget* parent);

    // Puts the cost price and minimum fields with their captions (each with
    // its Alt key) on `row` and the row below of `form`; only owners see them.
    // They are reached by click or Alt key, so Enter on the price still goes
    // on to the save button.
    static void addCostFields(QGridLayout* form, int row, QLineEdit* pokok,
                              const QString& pokokCaption, QLineEdit* minimum,
                              const QString& minimumCaption);

    // Lays the window out around `editor` (with `aboveList` between the editor
    // buttons and the list), tabs through `inputs` (the key box first) and on
    // to the buttons and the list, installs the input rules, wires the buttons
    // and the list, and shows the first page with an empty editor.
    void assemble(QGroupBox* editor, const QList<QWidget*>& inputs, const InputRules& rules,
                  QLayout* aboveList = nullptr);

    // ---- What each register does its own way.
    // Reads the page `plan` describes.
    virtual RowSet readPage(const PagePlan& plan) = 0;
    // Fills the editor from row `row` of the list on show.
    virtual void fillEditor(int row) = 0;
    // Empties the editor, key box included.
    virtual void clearEditor() = 0;
    virtual void cmdSubmit_Click() = 0;
    // True when other rows go with row `id` when it is deleted.
    virtual bool isReferenced(int id) = 0;
    virtual RegisterStore::Outcome deleteRow(int id) = 0;
    // Title of the delete question and of the message that follows it.
    virtual QString deleteTitle(bool referenced) const;
    virtual QString pageCaption() const;

    // ---- The shared flow.
    // Counts the list again and shows its first page.
    void restartList();
    // Shows page NavCurrentPage and stands on its first row.
    void showPage();
    void cmdNew_Click();
    // Puts the editor in "Update" mode for row `id`, or in "Submit" mode for none.
    void setEditing(std::optional<int> id);
    // Runs `save` for the row the editor is changing ("update") or for a new
    // row (any other mode). Once written, the editor is emptied and the list
    // shown from its first page; a failure of that refresh gets its own
    // message and does not undo the save. A failed or refused save is
    // reported and leaves the typing in the editor.
    void submit(const QString& mode,
                const std::function<RegisterStore::Saved(std::optional<int>)>& save);
    // "update" while the editor changes a row, else "submit".
    QString submitMode() const
    {
        return m_editId ? QStringLiteral("update") : QStringLiteral("submit");
    }
    // The key as typed, without leading and trailing blanks.
    virtual QString typedKey() const = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;

    // ---- Editor pieces.
    // Gives `box` a fixed width that shows `widest` whole, and at least `atLeast` pixels.
    static void fitWidth(QLineEdit* box, const QString& widest, int atLeast = 0);
    // A right-aligned whole-number price box of at most twelve digits, wide
    // enough to show the largest of them with its points.
    static QLineEdit* priceEdit(const QString& name, QWidget* parent);
    // Number keys in numeric fields, shown as whole numbers with points.
    static InputRules priceRules();

    QTableView* m_grid;
    RowSetModel* m_rows;

private:
    void cmdNavigasi_Click(int index);
    void fillFromRow(int row);
    void deleteCurrentRow();
    // Counts and shows the list again after a change that was written; a
    // failure is reported afterwards as a list that could not be refreshed.
    std::optional<QString> refreshAfterChange();
    void reportRefreshFailure(const std::optional<QString>& reason);
    // Widens the columns to their captions and the text on show.
    void fitColumns();

    RegisterList m_list;
    QWidget* m_keyBox = nullptr;
    // The row the editor is changing: the row chosen in the list or found by
    // the typed key. Empty in "Submit" mode.
    std::optional<int> m_editId;
    int m_shownPage = 0;
    bool m_loading = false;
    // Width each column has grown to in this window: columns widen to their
    // text and do not shrink back from page to page.
    QList<int> m_columnWidths;
};
