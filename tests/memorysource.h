#pragma once
#include "grid/tablesource.h"
#include <QStringList>
#include <QVector>
#include <functional>

// A table held in memory, standing in for a grid in print and export tests.
class MemorySource : public grid::TableSource {
public:
    struct Col {
        QString title;
        db::Kind kind = db::Kind::Text;
        int width = 80;
        QString footer;
    };
    QVector<Col> cols;
    QVector<QStringList> rows;
    bool footerRow = false;
    // Large tables compute their cells instead of storing them.
    std::function<QString(int, int)> generate;
    int generatedRows = 0;

    static bool numeric(db::Kind k) { return k == db::Kind::Money || k == db::Kind::Integer || k == db::Kind::Float; }

    int columnCount() const override { return int(cols.size()); }
    QString title(int c) const override { return cols[c].title; }
    int width(int c) const override { return cols[c].width; }
    db::Kind kind(int c) const override { return cols[c].kind; }
    int rowCount() const override { return generate ? generatedRows : int(rows.size()); }
    QString text(int r, int c) const override { return generate ? generate(r, c) : rows[r].value(c); }
    QVariant number(int r, int c) const override
    {
        const QString t = text(r, c);
        if (!numeric(cols[c].kind) || t.isEmpty())
            return {};
        return t.toDouble();
    }
    QString footer(int c) const override { return cols[c].footer; }
    bool hasFooter() const override { return footerRow; }
};

// A small order list: Chinese titles and text, a group title over two money
// columns, an integer column, an empty cell and texts that need quoting.
inline MemorySource sampleOrders()
{
    MemorySource s;
    s.cols = {{QStringLiteral("运输单号"), db::Kind::Text, 90, QStringLiteral("记录数")},
              {QStringLiteral("上游客户"), db::Kind::Text, 120, {}},
              {QStringLiteral("运费|应收"), db::Kind::Money, 70, QStringLiteral("2700.75")},
              {QStringLiteral("运费|实收"), db::Kind::Money, 70, {}},
              {QStringLiteral("箱量"), db::Kind::Integer, 50, {}},
              {QStringLiteral("备注"), db::Kind::Memo, 140, {}}};
    s.rows = {{QStringLiteral("YS0001"), QStringLiteral("武汉长江物流"), QStringLiteral("1200.50"), QStringLiteral("1000.00"),
               QStringLiteral("2"), QStringLiteral("含税, 月结")},
              {QStringLiteral("YS0002"), QStringLiteral("O'Brien \"大\" 运输"), QStringLiteral("1500.25"), QString(),
               QStringLiteral("1"), QStringLiteral("第一行\n第二行")},
              {QStringLiteral("YS0003"), QStringLiteral("<杨泗港&码头>"), QStringLiteral("0.00"), QStringLiteral("-20.00"),
               QStringLiteral("0"), QStringLiteral("制表\t符 {花括号} \\ 反斜杠")}};
    s.footerRow = true;
    return s;
}
