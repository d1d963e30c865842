#include "grid/layoutstore.h"
#include "grid/dbgrideh.h"
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace grid {
namespace {

const char *footerName(FooterKind k)
{
    switch (k) {
    case FooterKind::Text: return "Text";
    case FooterKind::Count: return "Count";
    case FooterKind::Sum: return "Sum";
    case FooterKind::None: break;
    }
    return "None";
}

bool footerFromName(const QString &s, FooterKind *k)
{
    static const struct { const char *name; FooterKind kind; } names[] = {
        {"None", FooterKind::None}, {"Text", FooterKind::Text}, {"Count", FooterKind::Count}, {"Sum", FooterKind::Sum}};
    for (const auto &n : names)
        if (s == QLatin1String(n.name)) {
            *k = n.kind;
            return true;
        }
    return false;
}

// A layout file is untrusted input: a damaged one must never stall the
// window that reads it. No list has this many columns, no user drags a
// column wider than this, and no title is this long.
constexpr int MaxColumns = 1000;
constexpr int MaxWidth = 2000;
constexpr int MaxTitle = 200;

} // namespace

LayoutStore::LayoutStore(const QString &fileName) : m_path(QFileInfo(fileName).absoluteFilePath()) {}

bool LayoutStore::exists() const { return QFileInfo::exists(m_path); }

void LayoutStore::save(const DBGridEh &grid) const
{
    QSettings s(m_path, QSettings::IniFormat);
    s.clear();
    s.setValue(QStringLiteral("Grid/AutoFit"), grid.autoFit());
    const Columns cols = grid.columns();
    s.beginWriteArray(QStringLiteral("Columns"), int(cols.size()));
    for (int i = 0; i < cols.size(); ++i) {
        const Column &c = cols[i];
        s.setArrayIndex(i);
        s.setValue(QStringLiteral("Field"), c.field);
        s.setValue(QStringLiteral("FooterValue"), c.footerText);
        s.setValue(QStringLiteral("FooterType"), QString::fromLatin1(footerName(c.footer)));
        s.setValue(QStringLiteral("Title"), c.title);
        s.setValue(QStringLiteral("Visible"), c.visible);
        s.setValue(QStringLiteral("Width"), c.width);
    }
    s.endArray();
    s.sync();
}

bool LayoutStore::load(DBGridEh &grid) const
{
    if (!exists())
        return false;
    QSettings s(m_path, QSettings::IniFormat);
    if (s.status() != QSettings::NoError)
        return false;
    const Columns current = grid.columns();
    Columns out;
    QList<bool> taken(current.size(), false);
    // The stored count decides how many entries are read: a huge one (a
    // damaged file) would keep the window busy for minutes.
    const int n = std::clamp(s.beginReadArray(QStringLiteral("Columns")), 0, MaxColumns);
    for (int i = 0; i < n && out.size() < current.size(); ++i) {
        s.setArrayIndex(i);
        const QString field = s.value(QStringLiteral("Field")).toString();
        int at = -1;
        for (int j = 0; j < current.size(); ++j)
            if (!taken[j] && current[j].field.compare(field, Qt::CaseInsensitive) == 0) {
                at = j;
                break;
            }
        if (at < 0)
            continue;
        taken[at] = true;
        Column c = current[at];
        if (s.contains(QStringLiteral("Title"))) {
            const QString title = s.value(QStringLiteral("Title")).toString();
            if (!title.isEmpty() && title.size() <= MaxTitle)
                c.title = title;
        }
        FooterKind k;
        if (footerFromName(s.value(QStringLiteral("FooterType")).toString(), &k)) {
            c.footer = k;
            c.footerText = s.value(QStringLiteral("FooterValue")).toString().left(MaxTitle);
        }
        if (s.contains(QStringLiteral("Visible")))
            c.visible = s.value(QStringLiteral("Visible")).toBool();
        bool ok = false;
        const int w = s.value(QStringLiteral("Width")).toInt(&ok);
        if (ok && w > 0)
            c.width = std::min(w, MaxWidth);
        out << c;
    }
    s.endArray();
    if (out.isEmpty())
        return false;
    for (int j = 0; j < current.size(); ++j)
        if (!taken[j])
            out << current[j];
    const QVariant fit = s.value(QStringLiteral("Grid/AutoFit"));
    grid.setColumns(out);
    if (fit.isValid())
        grid.setAutoFit(fit.toBool());
    return true;
}

bool LayoutStore::remove() const
{
    return !exists() || QFile::remove(m_path);
}

} // namespace grid
