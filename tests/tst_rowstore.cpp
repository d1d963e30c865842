// The packed row store: every value read back as written, whatever chunk
// boundaries the records fall on.
#include "db/rowstore.h"
#include <QTest>
#include "db/sqlitedriver.h"
#include <QTemporaryDir>

class TstRowStore : public QObject {
    Q_OBJECT
private slots:
    void valuesSurviveChunkBoundaries_data();
    void valuesSurviveChunkBoundaries();
};

namespace {

// Row r's values: a text whose length follows the case, an integer that
// spans the varint sizes and signs, a real, and a null every third row.
QVariant expected(int r, int col, int textLen)
{
    switch (col) {
    case 0: return QString(QStringLiteral("行%1-").arg(r)).leftJustified(textLen + r % 7, QChar(u'货'));
    case 1: return qint64(r % 2 ? -1 : 1) * (qint64(1) << (r % 63));
    case 2: return r % 3 == 0 ? QVariant() : QVariant(r * 0.25 - 7);
    default: return QString();
    }
}

} // namespace

void TstRowStore::valuesSurviveChunkBoundaries_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("textLen");
    QTest::newRow("many small rows") << 60000 << 20;
    QTest::newRow("rows near a chunk's size") << 12 << 400000;
    QTest::newRow("rows larger than a chunk") << 5 << 1500000;
    QTest::newRow("empty texts") << 1000 << 0;
}

void TstRowStore::valuesSurviveChunkBoundaries()
{
    QFETCH(int, rows);
    QFETCH(int, textLen);
    QTemporaryDir dir;
    db::SqliteDriver db(dir.filePath(QStringLiteral("t.db")), db::SqliteDriver::Mode::Scratch);
    db.execute(QStringLiteral("create table t (a text, b integer, c real, d text)"));
    auto ins = db.prepare(QStringLiteral("insert into t values (?, ?, ?, ?)"));
    for (int r = 0; r < rows; ++r) {
        const QByteArray text = expected(r, 0, textLen).toString().toUtf8();
        ins->bindText(1, text.constData(), int(text.size()));
        ins->bindInteger(2, expected(r, 1, textLen).toLongLong());
        if (r % 3 == 0)
            ins->bindNull(3);
        else
            ins->bindReal(3, expected(r, 2, textLen).toDouble());
        ins->bindText(4, "", 0, true);
        QVERIFY(!ins->step());
        ins->reset();
    }

    db::RowStore store(4);
    auto sel = db.prepare(QStringLiteral("select * from t order by rowid"));
    while (sel->step())
        store.appendFromStatement(*sel);

    // Replacing rows writes new records after all the others.
    const int replaced = rows / 2;
    store.replace(replaced, {QStringLiteral("换"), qint64(-5), 1.5, QVariant()});
    store.append({QStringLiteral("末"), qint64(7), QVariant(), QStringLiteral("x")});

    QCOMPARE(store.size(), rows + 1);
    for (int r = 0; r < rows; ++r) {
        if (r == replaced)
            continue;
        for (int c = 0; c < 4; ++c) {
            const QVariant want = expected(r, c, textLen), got = store.value(r, c);
            if (got != want || got.isNull() != want.isNull())
                QFAIL(qPrintable(QStringLiteral("row %1 column %2").arg(r).arg(c)));
        }
        QCOMPARE(store.isNull(r, 2), r % 3 == 0);
    }
    QCOMPARE(store.value(replaced, 0), QVariant(QStringLiteral("换")));
    QCOMPARE(store.integer(replaced, 1), qint64(-5));
    QCOMPARE(store.value(replaced, 2), QVariant(1.5));
    QVERIFY(store.isNull(replaced, 3));
    QCOMPARE(store.value(rows, 3), QVariant(QStringLiteral("x")));
    QVERIFY(store.memoryUsed() >= store.bytesUsed());
}

QTEST_MAIN(TstRowStore)
#include "tst_rowstore.moc"
