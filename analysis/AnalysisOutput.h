#pragma once

#include "reports/ReportOutput.h"
#include "ui/GridColumns.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

class QTableView;
class QWidget;

// A table of the owner's figures as it leaves the program: as CSV (";",
// numbers with the decimal comma and no grouping), printed as fixed-width
// text, or as a PDF page with a chart above the table.
namespace AnalysisOutput {

struct Sheet {
    QStringList heading; // title lines
    QList<GridColumn> columns;
    QList<QVariantList> rows; // values as read, one per column
    QVariantList totals;      // an optional last line, same columns
};

// The rows of a grid as it shows them (in its sort order), visible columns only.
Sheet fromGrid(const QTableView* grid, const QList<GridColumn>& columns);

QString csvText(const Sheet& sheet);
// Fixed-width lines: the columns side by side, numbers formatted and right-aligned.
QStringList textLines(const Sheet& sheet);
TextPagePainter::Document document(const Sheet& sheet);

// Writes the sheet as an A4 PDF, with `chart` (when given) painted above the
// table on the first page.
std::optional<ReportOutput::Failure> savePdf(const Sheet& sheet, const QString& path,
                                             QWidget* chart = nullptr);

} // namespace AnalysisOutput
