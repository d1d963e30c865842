#pragma once
#include <QString>
#include <QVector>

namespace grid {

enum class FooterKind { None, Text, Count, Sum };

// One grid column as a window declares it. A title with "|" parts is drawn
// as group titles over sub-titles ("运费|应收" under the group "运费").
struct Column {
    QString field = {};
    QString title = {};
    int width = 80;
    bool visible = true;
    bool sortable = false;
    FooterKind footer = FooterKind::None;
    QString footerText = {};   // for FooterKind::Text, e.g. "记录数"
};

using Columns = QVector<Column>;

} // namespace grid
