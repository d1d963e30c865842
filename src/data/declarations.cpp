#include "data/declarations.h"

namespace data {

grid::Column column(const ColumnLook &l)
{
    const QString field = QString::fromUtf8(l.field);
    return {.field = field, .title = l.title ? QString::fromUtf8(l.title) : field, .width = l.width,
            .sortable = l.sortable, .footer = l.footer,
            .footerText = l.footer == grid::FooterKind::Text ? QStringLiteral("记录数") : QString()};
}

grid::Columns columns(std::initializer_list<ColumnLook> looks)
{
    grid::Columns out;
    for (const ColumnLook &l : looks)
        out << column(l);
    return out;
}

grid::Columns columnsOf(const QStringList &fields, std::initializer_list<ColumnLook> table)
{
    grid::Columns out;
    for (const QString &f : fields) {
        grid::Column c{.field = f, .title = f};
        for (const ColumnLook &l : table)
            if (f == QString::fromUtf8(l.field))
                c = column(l);
        out << c;
    }
    return out;
}

} // namespace data
