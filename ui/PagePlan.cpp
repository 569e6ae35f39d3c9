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

PagePlan planPageByKeys(int page, int pageSize, int recordCount, int shownPage,
                        const QVariantList& shownFirst, const QVariantList& shownLast)
{
    PagePlan plan;
    pageSize = std::max(1, pageSize);
    const int offset = std::max(0, page - 1) * pageSize;
    plan.take = std::clamp(recordCount - offset, 0, pageSize);
    if (page <= 1 || plan.take == 0) {
        plan.skip = page <= 1 ? 0 : offset;
        return plan;
    }
    if (shownPage > 0) {
        if (page == shownPage + 1 && !shownLast.isEmpty()) {
            plan.from = PagePlan::From::After;
            plan.anchor = shownLast;
            return plan;
        }
        if (page == shownPage - 1 && !shownFirst.isEmpty()) {
            plan.from = PagePlan::From::Before;
            plan.anchor = shownFirst;
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

PagePlan planPage(int page, int pageSize, int recordCount, int shownPage, const RowSet& shownRows,
                  const QStringList& keyColumns)
{
    if (shownPage <= 0 || shownRows.isEmpty())
        return planPageByKeys(page, pageSize, recordCount, 0, {}, {});
    return planPageByKeys(page, pageSize, recordCount, shownPage, keyOf(shownRows, 0, keyColumns),
                          keyOf(shownRows, shownRows.size() - 1, keyColumns));
}
