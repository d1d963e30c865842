#include "import/importer.h"
#include "db/text.h"
#include <QDir>

namespace jetimport {
namespace {

const QString Dash = QStringLiteral("—");

QStringList headings()
{
    return {S("表"), S("旧表"), S("读入行数"), S("写入行数"), S("跳过的列"), S("拒收的值")};
}

// The summary: one line per table of ours, then the totals.
std::vector<QStringList> summary(const Report &r)
{
    std::vector<QStringList> rows;
    qint64 read = 0, written = 0, refused = 0, skipped = 0;
    for (const auto &t : r.tables) {
        rows.push_back({t.table, t.source.isEmpty() ? Dash : t.source, QString::number(t.rowsRead),
                        QString::number(t.rowsWritten), QString::number(t.skippedColumns()),
                        QString::number(t.refusedValues())});
        read += t.rowsRead;
        written += t.rowsWritten;
        refused += t.refusedValues();
        skipped += t.skippedColumns();
    }
    rows.push_back({S("合计"), QString(), QString::number(read), QString::number(written), QString::number(skipped),
                    QString::number(refused)});
    return rows;
}

QString issueText(const ValueIssue &i)
{
    return S("%1: %2 个 (%3), 第一个是第 %4 行的 “%5”").arg(i.column).arg(i.count).arg(i.reason).arg(i.firstRow).arg(i.example);
}

// What the summary does not say, table by table; headings end with "：".
std::vector<std::pair<QString, QStringList>> details(const Report &r)
{
    std::vector<std::pair<QString, QStringList>> out;
    QStringList absent;
    for (const auto &t : r.tables) {
        if (t.source.isEmpty()) {
            absent << t.table + (t.keptFreshRows ? S(" (保留新数据库自带的行)") : QString());
            continue;
        }
        QStringList lines;
        if (t.rowsRead != t.rowsWritten)
            lines << S("没有一列对得上: %1 行读入而没有写入").arg(t.rowsRead - t.rowsWritten);
        if (!t.emptyColumns.isEmpty())
            lines << S("旧表没有的列 (留空或取默认值): ") + t.emptyColumns.join(S("、"));
        if (!t.extraColumns.isEmpty())
            lines << S("旧表有而新数据库没有的列 (未导入): ") + t.extraColumns.join(S("、"));
        if (!t.unreadableColumns.isEmpty())
            lines << S("OLE 或二进制列 (跳过): ") + t.unreadableColumns.join(S("、"));
        for (const auto &i : t.refused)
            lines << S("拒收 (留空) ") + issueText(i);
        for (const auto &i : t.takenAsTheyAre)
            lines << S("照原样导入, 但旧程序不会接受: ") + issueText(i);
        if (t.keptFreshRows)
            lines << S("旧表没有行: 保留新数据库自带的行");
        if (!lines.isEmpty())
            out.emplace_back(S("%1 ← %2").arg(t.table, t.source), lines);
    }
    if (!absent.isEmpty())
        out.emplace_back(S("旧文件中没有的表 (留空)"), QStringList{absent.join(S("、"))});
    if (!r.otherTables.isEmpty())
        out.emplace_back(S("旧文件中没有导入的表"), QStringList{r.otherTables.join(S("、"))});
    out.emplace_back(S("检查"), QStringList{r.checkProblems.isEmpty()
                                               ? S("新数据库完好, 所有的表和列都在 (与 velorin-db check 相同)")
                                               : r.checkProblems.join(QLatin1Char('\n'))});
    return out;
}

QString title(const Report &r)
{
    return S("从 %1 (%2) 导入到 %3, 共 %4 行, 用时 %5 秒")
        .arg(QDir::toNativeSeparators(r.source), r.format, QDir::toNativeSeparators(r.target))
        .arg(r.rowsWritten())
        .arg(r.seconds, 0, 'f', 2);
}

// Terminal columns a text takes: Chinese characters take two.
int width(const QString &s)
{
    int w = 0;
    for (const QChar c : s) {
        const ushort u = c.unicode();
        w += (u >= 0x1100 && u <= 0x115f) || (u >= 0x2e80 && u <= 0xa4cf) || (u >= 0xac00 && u <= 0xd7a3) ||
                     (u >= 0xf900 && u <= 0xfaff) || (u >= 0xfe30 && u <= 0xfe4f) || (u >= 0xff00 && u <= 0xff60) ||
                     (u >= 0xffe0 && u <= 0xffe6)
                 ? 2
                 : 1;
    }
    return w;
}

} // namespace

qint64 TableReport::refusedValues() const
{
    qint64 n = 0;
    for (const auto &i : refused)
        n += i.count;
    return n;
}

qint64 Report::rowsWritten() const
{
    qint64 n = 0;
    for (const auto &t : tables)
        n += t.rowsWritten;
    return n;
}

QString Report::text() const
{
    std::vector<QStringList> rows = summary(*this);
    rows.insert(rows.begin(), headings());
    std::vector<int> widths(rows.front().size(), 0);
    for (const auto &row : rows)
        for (size_t c = 0; c < widths.size(); ++c)
            widths[c] = std::max(widths[c], width(row[qsizetype(c)]));
    QString out = title(*this) + QStringLiteral("\n\n");
    for (const auto &row : rows) {
        QString line;
        for (size_t c = 0; c < widths.size(); ++c) {
            const QString &cell = row[qsizetype(c)];
            const QString pad(widths[c] - width(cell), QLatin1Char(' '));
            // Names to the left, counts to the right.
            line += c < 2 ? cell + pad : pad + cell;
            line += QStringLiteral("  ");
        }
        out += line.trimmed().isEmpty() ? QString() : line.trimmed() + QLatin1Char('\n');
    }
    for (const auto &[heading, lines] : details(*this)) {
        out += QLatin1Char('\n') + heading + S("：\n");
        for (const auto &l : lines)
            out += QStringLiteral("  ") + l + QLatin1Char('\n');
    }
    return out;
}

QString Report::html() const
{
    QString h = QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>").arg(title(*this).toHtmlEscaped());
    for (const auto &c : headings())
        h += QStringLiteral("<th>%1</th>").arg(c.toHtmlEscaped());
    h += QStringLiteral("</tr>");
    for (const auto &row : summary(*this)) {
        h += QStringLiteral("<tr>");
        for (qsizetype c = 0; c < row.size(); ++c)
            h += QStringLiteral("<td%1>%2</td>").arg(c < 2 ? QString() : QStringLiteral(" align=\"right\""), row[c].toHtmlEscaped());
        h += QStringLiteral("</tr>");
    }
    h += QStringLiteral("</table>");
    for (const auto &[heading, lines] : details(*this)) {
        h += QStringLiteral("<p><b>%1</b></p><ul>").arg(heading.toHtmlEscaped());
        for (const auto &l : lines)
            h += QStringLiteral("<li>%1</li>").arg(l.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
        h += QStringLiteral("</ul>");
    }
    return h;
}

} // namespace jetimport
