#pragma once

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// Items whose stock has fallen below their minimum (variant_minimum in ml,
// botol_minimum in bottles; a minimum of 0 means none), and the reorder list.
namespace LowStock {

struct Counts {
    int variants = 0;
    int bottles = 0;
    int total() const { return variants + bottles; }
};

// Two counts over the registers (a few hundred rows): cheap enough after every save.
Counts count();

// The status bar's text for `counts`: empty when nothing is below its minimum.
QString statusText(const Counts& counts);

struct ReorderLine {
    QString jenis; // "Variant" or "Botol"
    int id = 0;
    QString kode, nama;
    double stock = 0, minimum = 0;
    double perDay = 0;               // average sold a day over the last 30 days
    std::optional<double> daysLeft;  // stock / perDay; none when nothing sold
};

// Every item below its minimum, the one to run out first at the top (items
// that did not sell last); the 30 days end on `today`.
QList<ReorderLine> reorderList(const QDate& today);

// Tells whoever listens (the main window) the count after a committed save.
class Watch : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
signals:
    void changed(const LowStock::Counts& counts);
};
Watch* watch();

// Called after a committed write that moves stock or a minimum: counts again
// and tells the watch when the count differs from the last one told. Does
// nothing inside an open transaction (the action's end calls it again) or
// without a connection; a failing count is left for the next save.
void saved();
// Counts and tells the watch whatever the last count was (after the login).
void recount();

} // namespace LowStock
