#include "PagePlan.h"

#include <algorithm>

namespace {
QVariantList keyOf(const RowSet& rows, int row, const QStringList& keyColumns)
{
    QVariantList key;
    for (const QString& column : keyColumns)
        key << rows.value(row, column);
    return key;
}
} // namespace

PagePlan planPage(int page, int pageSize, int recordCount, int shownPage, const RowSet& shownRows,
                  const QStringList& keyColumns)
{
    PagePlan plan;
    pageSize = std::max(1, pageSize);
    const int offset = std::max(0, page - 1) * pageSize;
    plan.take = std::clamp(recordCount - offset, 0, pageSize);
    if (page <= 1 || plan.take == 0) {
        plan.skip = page <= 1 ? 0 : offset;
        return plan;
    }
    if (shownPage > 0 && !shownRows.isEmpty()) {
        if (page == shownPage + 1) {
            plan.from = PagePlan::From::After;
            plan.anchor = keyOf(shownRows, shownRows.size() - 1, keyColumns);
            return plan;
        }
        if (page == shownPage - 1) {
            plan.from = PagePlan::From::Before;
            plan.anchor = keyOf(shownRows, 0, keyColumns);
            return plan;
        }
    }
    const int fromEnd = recordCount - offset - plan.take;
    if (fromEnd < offset) {
        plan.from = PagePlan::From::End;
        plan.skip = fromEnd;
    } else {
        plan.skip = offset;
    }
    return plan;
}
