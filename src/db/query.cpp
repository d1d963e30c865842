#include "db/query.h"
#include "db/connection.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/rowstore.h"
#include <QHash>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <climits>
#include <cmath>
#include "db/driver.h"

namespace db {
namespace {

QString quoteIdent(const QString &n)
{
    QString s = n;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// The kind of fn(column): a count is whole, an average of whole numbers is
// not, the others keep the column's kind (a money sum reads back as money).
Kind aggregateKind(const QString &fn, const QString &column)
{
    const QString f = fn.toLower();
    if (f == QLatin1String("count"))
        return Kind::Integer;
    const Kind k = schema::kindOfColumnName(column);
    return f == QLatin1String("avg") && k == Kind::Integer ? Kind::Float : k;
}

// Kind of an expression column such as "sum(应收运费) as ysyf".
QHash<QString, Kind> expressionKinds(const QString &sql)
{
    static const QRegularExpression re(
        QStringLiteral("\\b(sum|min|max|avg|count)\\s*\\(\\s*([^()\\s,]+)\\s*\\)\\s*(?:as\\s+([^\\s,]+))?"),
        QRegularExpression::CaseInsensitiveOption);
    QHash<QString, Kind> out;
    auto it = re.globalMatch(sql);
    while (it.hasNext()) {
        const auto m = it.next();
        const Kind k = aggregateKind(m.captured(1), m.captured(2));
        if (!m.captured(3).isEmpty())
            out.insert(m.captured(3).toLower(), k);
        out.insert(m.captured(0).section(QLatin1Char(')'), 0, 0).append(QLatin1Char(')')).remove(QLatin1Char(' ')).toLower(), k);
    }
    return out;
}

// Kinds of the items of the outer select list, by position: an engine that
// names an unaliased "sum(应收运费)" just "sum" still reads it as money.
std::vector<Kind> selectListKinds(const QString &sql)
{
    std::vector<Kind> out;
    static const QRegularExpression start(QStringLiteral("^\\s*select\\s+(distinct\\s+)?"), QRegularExpression::CaseInsensitiveOption);
    const auto m = start.match(sql);
    if (!m.hasMatch())
        return out;
    static const QRegularExpression agg(QStringLiteral("^(sum|min|max|avg|count)\\s*\\(\\s*([^()\\s,]+)\\s*\\)"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bare(QStringLiteral("^(?:\\w+\\.)?(\\w+)$"), QRegularExpression::UseUnicodePropertiesOption);
    const auto kindOf = [&](QString item) {
        item = item.trimmed();
        if (const auto a = agg.match(item); a.hasMatch())
            return aggregateKind(a.captured(1), a.captured(2));
        if (const auto b = bare.match(item.section(QRegularExpression(QStringLiteral("\\s+as\\s+"), QRegularExpression::CaseInsensitiveOption), 0, 0).trimmed()); b.hasMatch())
            return schema::kindOfColumnName(b.captured(1));
        return Kind::Unknown;
    };
    int depth = 0, from = int(m.capturedEnd());
    bool quoted = false;
    for (int i = from; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (depth == 0 && c == QLatin1Char(',')) {
            out.push_back(kindOf(sql.mid(from, i - from)));
            from = i + 1;
        } else if (depth == 0 && (c.isSpace()) && sql.mid(i + 1, 5).compare(QLatin1String("from "), Qt::CaseInsensitive) == 0) {
            out.push_back(kindOf(sql.mid(from, i - from)));
            return out;
        }
    }
    out.push_back(kindOf(sql.mid(from)));
    return out;
}

QString trimmedNumber(double d)
{
    QString s = QString::number(d, 'f', 4);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    }
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
}

Money moneyOf(Kind k, const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    if (v.typeId() == QMetaType::QString) {
        const auto m = Money::parse(v.toString());
        return m ? *m : Money();
    }
    if (k == Kind::Money)
        return v.typeId() == QMetaType::Double ? Money::fromRaw(std::llround(v.toDouble())) : Money::fromRaw(v.toLongLong());
    if (v.typeId() == QMetaType::Double)
        return Money::fromDouble(v.toDouble());
    return Money::fromRaw(v.toLongLong() * Money::Scale);
}

} // namespace

// ---------------------------------------------------------------- Field

QString Field::fieldName() const { return m_q->fieldName(m_col); }
Kind Field::kind() const { return m_q->fieldKind(m_col); }
bool Field::isNull() const { const QVariant v = value(); return !v.isValid() || v.isNull(); }
QVariant Field::value() const { return m_q->currentValue(m_col); }

QVariant Field::oldValue() const
{
    m_q->checkActive();
    if (m_q->isEditing())
        return m_q->m_old[size_t(m_col)];
    return m_q->currentValue(m_col);
}

bool Field::modified() const
{
    return m_q->isEditing() && m_q->m_mod[size_t(m_col)];
}

QString Field::asString() const { return Query::displayOf(kind(), value()); }

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return {};
    const auto dt = parseDateTime(v.toString());
    return dt ? *dt : QDateTime();
}

QDate Field::asDate() const { return asDateTime().date(); }
Money Field::asMoney() const { return moneyOf(kind(), value()); }

qint64 Field::asInteger() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return 0;
    if (kind() == Kind::Money)
        return std::llround(asMoney().toDouble());
    if (v.typeId() == QMetaType::Double)
        return std::llround(v.toDouble());
    return v.toLongLong();
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return 0;
    if (kind() == Kind::Money)
        return asMoney().toDouble();
    return v.toDouble();
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        return s == QStringLiteral("是") || s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
               s == QLatin1String("1");
    }
    return v.toLongLong() != 0;
}

void Field::setValue(const QVariant &stored) { m_q->setCurrentValue(m_col, stored); }

void Field::setAsString(const QString &text)
{
    const Kind k = kind();
    const QString t = text.trimmed();
    switch (k) {
    case Kind::Text: case Kind::Memo: case Kind::Unknown:
        setValue(text);
        return;
    default:
        break;
    }
    if (t.isEmpty()) {
        clear();
        return;
    }
    switch (k) {
    case Kind::Integer: case Kind::AutoKey: {
        bool ok = false;
        const qint64 v = t.toLongLong(&ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1'不是有效的整数").arg(t));
        setValue(v);
        return;
    }
    case Kind::Float: {
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1'不是有效的数值").arg(t));
        setValue(v);
        return;
    }
    case Kind::Money: {
        const auto m = Money::parse(t);
        if (!m)
            throw DbError(QStringLiteral("'%1'不是有效的金额").arg(t));
        setAsMoney(*m);
        return;
    }
    case Kind::Date: case Kind::DateTime: {
        const auto dt = parseDateTime(t);
        if (!dt)
            throw DbError(QStringLiteral("'%1'不是有效的日期").arg(t));
        setAsDateTime(*dt);
        return;
    }
    case Kind::YesNo:
        setAsBoolean(t == QStringLiteral("是") || t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                     t == QLatin1String("1"));
        return;
    default:
        setValue(text);
    }
}

void Field::setAsDateTime(const QDateTime &dt)
{
    if (!dt.isValid()) {
        clear();
        return;
    }
    setValue(kind() == Kind::Date ? storedDate(dt.date()) : storedDateTime(dt));
}

void Field::setAsDate(const QDate &d)
{
    if (!d.isValid())
        clear();
    else
        setValue(storedDate(d));
}

void Field::setAsMoney(Money m)
{
    switch (kind()) {
    case Kind::Money: setValue(qint64(m.raw())); break;
    case Kind::Text: case Kind::Memo: setValue(m.toPlainString()); break;
    case Kind::Integer: setValue(qint64(std::llround(m.toDouble()))); break;
    default: setValue(m.toDouble());
    }
}

void Field::setAsInteger(qint64 v)
{
    if (kind() == Kind::Money)
        setValue(qint64(v * Money::Scale));
    else if (kind() == Kind::Text || kind() == Kind::Memo)
        setValue(QString::number(v));
    else
        setValue(v);
}

void Field::setAsFloat(double v)
{
    if (kind() == Kind::Money)
        setAsMoney(Money::fromDouble(v));
    else if (kind() == Kind::Integer)
        setValue(qint64(std::llround(v)));
    else
        setValue(v);
}

void Field::setAsBoolean(bool v)
{
    if (kind() == Kind::Text || kind() == Kind::Memo)
        setValue(v ? QStringLiteral("是") : QStringLiteral("否"));
    else
        setValue(qint64(v ? 1 : 0));
}

void Field::clear() { setValue(QVariant()); }

// ---------------------------------------------------------------- Query

Query::Query(Connection *conn, const QString &name, QObject *parent) : QObject(parent), m_conn(conn)
{
    setObjectName(name);
    if (conn)
        connect(conn, &Connection::aboutToClose, this, &Query::close);
}

Query::~Query()
{
    stopReading();
}

namespace {
Query::WaitHook waitHook = nullptr;
// A slice of the background read: short enough that typing and scrolling
// stay smooth, long enough that the read costs little more than a bare loop.
constexpr qint64 SliceNs = 5'000'000;
constexpr qint64 AnnounceNs = 100'000'000;

qint64 readClock()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock.nsecsElapsed();
}
}

void Query::setWaitHook(WaitHook hook) { waitHook = hook; }

int Query::rowsRead() const { return m_rows ? m_rows->size() : 0; }

bool Query::readUntil(int row, qint64 budgetNs) const
{
    if (!m_reader || !m_rows)
        return row < rowsRead();
    const bool waiting = budgetNs < 0 && row == INT_MAX && waitHook;
    if (waiting)
        waitHook(true);
    QElapsedTimer clock;
    clock.start();
    bool ended = false;
    QString failure;
    try {
        int n = 0;
        while (m_rows->size() <= row) {
            if (!m_reader->step()) {
                ended = true;
                break;
            }
            m_rows->appendFromStatement(*m_reader);
            if (budgetNs >= 0 && (++n & 31) == 0 && clock.nsecsElapsed() >= budgetNs)
                break;
        }
    } catch (const DbError &e) {
        ended = true;
        failure = e.message();
    }
    if (waiting)
        waitHook(false);
    auto *self = const_cast<Query *>(this);
    const int last = m_rows->size() - 1;
    // Grids take new rows in few, larger steps: each step costs them more
    // than the rows themselves. A caller waiting for a row is told at once.
    const qint64 now = readClock();
    if (last >= m_announced && (budgetNs < 0 || ended || now - m_announcedAt >= AnnounceNs)) {
        const int from = m_announced;
        m_announced = last + 1;
        m_announcedAt = now;
        if (m_disable > 0)
            self->m_pendingReset = true;
        else
            emit self->rowsAppended(from, last);
    }
    // A slot of rowsAppended may have read the rest or closed the list already.
    if (ended && m_reader) {
        stopReading();
        if (failure.isEmpty()) {
            emit self->readFinished();
        } else {
            // As an open that fails: no list that looks whole but is not.
            emit self->readFinished();
            self->close();
            emit self->readFailed(failure);
        }
    }
    return row < rowsRead();
}

void Query::fetchAll() const
{
    if (m_reader)
        readUntil(INT_MAX);
}

void Query::readSlice()
{
    readUntil(INT_MAX, SliceNs);
}

void Query::stopReading() const
{
    if (!m_reader)
        return;
    m_reader.reset();
    if (m_readTimer)
        m_readTimer->stop();
    if (m_conn)
        m_conn->readEnded(this);
}

void Query::checkActive() const
{
    if (m_state == Inactive)
        throw DbError(QStringLiteral("%1: 数据集没有打开").arg(objectName()));
}

void Query::emitIfEnabled(void (Query::*sig)())
{
    if (m_disable > 0)
        m_pendingReset = true;
    else
        (this->*sig)();
}

void Query::reopenWith(const QStringList &lines)
{
    close();
    m_sql = lines;
    open();
}

void Query::execWith(const QStringList &lines)
{
    close();
    setSql(lines);
    execSql();
    close();
}

QString Query::keyColumn() const
{
    return m_conn->driver().keyColumn(m_table);
}

QString Query::keyedColumns(const QString &table) const
{
    return m_conn->driver().keyedSelectList(table);
}

std::unique_ptr<Statement> Query::keyedRowStatement() const
{
    return m_conn->driver().prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3=?").arg(keyedColumns(m_table), quoteIdent(m_table), keyColumn()));
}

void Query::bindRow(Statement &st, int first, int row) const
{
    st.bindInteger(first, rowKey(row));
    if (m_hidden > 1)
        st.bindInteger(first + 1, m_rows->integer(row, 1));
}

QString Query::rowCondition() const
{
    return m_conn->driver().rowCondition(m_table);
}

void Query::rowNotFound() const
{
    const Driver &d = m_conn->driver();
    throw DbError(d.conflictMessage(), d.hiddenColumns() > 1 ? DbError::Outcome::ChangedByOthers : DbError::Outcome::NothingChanged);
}

void Query::open()
{
    if (m_state != Inactive)
        return;
    if (!m_conn || !m_conn->isOpen())
        throw DbError(QStringLiteral("数据库没有连接"));
    QString text = sqlText();
    static const QRegularExpression selectStar(
        QStringLiteral("^(\\s*select\\s+)\\*(\\s+from\\s+)([^\\s;(),]+)"), QRegularExpression::CaseInsensitiveOption);
    QString table;
    const auto m = selectStar.match(text);
    if (m.hasMatch() && schema::table(m.captured(3))) {
        table = m.captured(3);
        text = m.captured(1) + keyedColumns(m.captured(3)) + text.mid(m.capturedEnd(1) + 1);
    }
    auto st = m_conn->driver().prepare(text);
    const int n = st->columnCount();
    if (n == 0)
        throw DbError(QStringLiteral("查询没有返回列: %1").arg(sqlText()));
    const bool hasKey = !table.isEmpty();
    const int hidden = hasKey ? m_conn->driver().hiddenColumns() : 0;
    const QHash<QString, Kind> exprKinds = expressionKinds(sqlText());
    std::vector<Kind> listKinds;
    std::vector<Col> cols;
    for (int i = hidden; i < n; ++i) {
        const QString name = st->columnName(i);
        Kind k = st->columnKind(i);
        if (k == Kind::Unknown) {
            QString key = name.toLower();
            key.remove(QLatin1Char(' '));
            k = exprKinds.value(key, Kind::Unknown);
        }
        if (k == Kind::Unknown && !hasKey) {
            if (listKinds.empty())
                listKinds = selectListKinds(sqlText());
            if (size_t(i) < listKinds.size())
                k = listKinds[size_t(i)];
        }
        cols.push_back({name, k});
    }
    auto rows = std::make_unique<RowStore>(n);
    bool whole = false;
    // Without an event loop on this thread (a worker of a report) there is
    // nothing to read the rest on: the whole list is read now.
    const bool inChunks = QThread::currentThread()->eventDispatcher() != nullptr;
    while (!inChunks || rows->size() < FirstChunk) {
        if (!st->step()) {
            whole = true;
            break;
        }
        rows->appendFromStatement(*st);
    }

    m_table = table;
    m_hasKey = hasKey;
    m_hidden = hidden;
    m_cols = std::move(cols);
    m_rows = std::move(rows);
    m_cur = m_rows->size() ? 0 : -1;
    m_bof = true;
    m_eof = m_rows->size() == 0;
    m_state = Browse;
    m_announced = m_rows->size();
    m_announcedAt = readClock();
    if (!whole) {
        m_reader = std::move(st);
        m_conn->readStarted(this);
        if (!m_readTimer) {
            m_readTimer = new QTimer(this);
            m_readTimer->setInterval(0);
            connect(m_readTimer, &QTimer::timeout, this, &Query::readSlice);
        }
        m_readTimer->start();
    }
    emit opened();
    emitIfEnabled(&Query::dataReset);
    emitIfEnabled(&Query::currentChanged);
    emit stateChanged();
}

void Query::close()
{
    if (m_state == Inactive)
        return;
    stopReading();
    m_state = Inactive;
    m_rows.reset();
    m_cols.clear();
    m_buf.clear();
    m_old.clear();
    m_mod.clear();
    m_table.clear();
    m_cur = -1;
    m_bof = m_eof = true;
    emit closed();
    emitIfEnabled(&Query::dataReset);
    emit stateChanged();
}

void Query::execSql()
{
    if (!m_conn || !m_conn->isOpen())
        throw DbError(QStringLiteral("数据库没有连接"));
    m_conn->execute(sqlText());
}

void Query::refreshKeepingRow()
{
    const Bookmark b = isActive() ? bookmark() : -1;
    close();
    open();
    if (b < 0 || !gotoBookmark(b))
        last();
}

bool Query::refetchRow(int row)
{
    checkActive();
    cancel();
    if (!m_hasKey || row < 0 || row >= recordCount())
        return false;
    auto st = keyedRowStatement();
    st->bindInteger(1, rowKey(row));
    if (!st->step() || st->columnCount() != fieldCount() + m_hidden)
        return false;
    m_rows->replaceFromStatement(row, *st);
    if (m_disable > 0)
        m_pendingReset = true;
    else
        emit rowChanged(row);
    if (row == m_cur)
        emitIfEnabled(&Query::currentChanged);
    return true;
}

void Query::refetchRows()
{
    checkActive();
    cancel();
    if (!m_hasKey || isEmpty())
        return;
    auto st = keyedRowStatement();
    for (int row = 0; row < recordCount(); ++row) {
        st->reset();
        st->bindInteger(1, rowKey(row));
        if (st->step() && st->columnCount() == fieldCount() + m_hidden)
            m_rows->replaceFromStatement(row, *st);
    }
    if (m_disable > 0)
        m_pendingReset = true;
    else
        emit dataReset();
    emitIfEnabled(&Query::currentChanged);
}

void Query::writeColumn(int col, const std::vector<std::pair<int, QVariant>> &rowValues)
{
    checkActive();
    m_conn->finishReads();
    cancel();
    if (!canModify() || !m_hasKey)
        throw DbError(QStringLiteral("%1: 数据集不能修改").arg(objectName()));
    if (col < 0 || col >= fieldCount())
        throw DbError(QStringLiteral("%1: 没有第 %2 列").arg(objectName()).arg(col));
    if (rowValues.empty())
        return;
    auto st = m_conn->driver().prepare(QStringLiteral("UPDATE %1 SET %2=? WHERE %3")
                                           .arg(quoteIdent(m_table), quoteIdent(fieldName(col)), rowCondition()));
    std::vector<QVariant> cells(size_t(fieldCount() + m_hidden));
    for (const auto &[row, value] : rowValues) {
        if (row < 0 || row >= recordCount())
            throw DbError(QStringLiteral("%1: 没有第 %2 行").arg(objectName()).arg(row + 1));
        st->reset();
        st->bind(1, value);
        bindRow(*st, 2, row);
        st->step();
        if (st->rowsChanged() == 0)
            rowNotFound();
        for (size_t c = 0; c < cells.size(); ++c)
            cells[c] = m_rows->value(row, int(c));
        cells[size_t(col + m_hidden)] = value;
        m_rows->replace(row, cells);
    }
    if (m_disable > 0)
        m_pendingReset = true;
    else
        emit dataReset();
    emitIfEnabled(&Query::currentChanged);
}

int Query::fieldCount() const { return int(m_cols.size()); }

QString Query::fieldName(int i) const
{
    return i >= 0 && i < fieldCount() ? m_cols[size_t(i)].name : QString();
}

Kind Query::fieldKind(int i) const
{
    return i >= 0 && i < fieldCount() ? m_cols[size_t(i)].kind : Kind::Unknown;
}

int Query::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fieldCount(); ++i)
        if (m_cols[size_t(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Field Query::field(const QString &name)
{
    checkActive();
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: 没有找到字段 '%2'").arg(objectName(), name));
    return Field(this, i);
}

int Query::recordCount() const
{
    fetchAll();
    return rowsRead();
}
int Query::recNo() const { return m_cur + 1; }

qint64 Query::rowKey(int row) const
{
    return m_hasKey ? m_rows->integer(row, 0) : row;
}

void Query::setCurrent(int row, bool force)
{
    if (row == m_cur && !force)
        return;
    m_cur = row;
    emitIfEnabled(&Query::currentChanged);
}

void Query::checkBrowseMode()
{
    checkActive();
    if (isEditing()) {
        updateRecord();
        if (isModified())
            post();
        else
            cancel();
    }
}

void Query::first()
{
    checkBrowseMode();
    m_bof = true;
    m_eof = rowsRead() == 0;
    setCurrent(rowsRead() ? 0 : -1);
}

void Query::last()
{
    checkBrowseMode();
    m_eof = true;
    m_bof = recordCount() == 0;
    setCurrent(recordCount() - 1);
}

// A step clears both flags and sets the one of the end it could not pass,
// so after next() on the last row eof() holds and bof() does not.
void Query::next()
{
    checkBrowseMode();
    if (m_eof)
        return;
    m_bof = false;
    if (readUntil(m_cur + 1))
        setCurrent(m_cur + 1);
    else
        m_eof = true;
}

void Query::prior()
{
    checkBrowseMode();
    if (m_bof)
        return;
    m_eof = false;
    if (m_cur > 0)
        setCurrent(m_cur - 1);
    else
        m_bof = true;
}

void Query::moveTo(int row)
{
    checkBrowseMode();
    if (row < 0 || !readUntil(row))
        return;
    m_bof = m_eof = false;
    setCurrent(row);
}

bool Query::locate(const QString &name, const QVariant &value)
{
    checkBrowseMode();
    const int col = fieldIndex(name);
    if (col < 0)
        throw DbError(QStringLiteral("%1: 没有找到字段 '%2'").arg(objectName(), name));
    const QString wanted = value.toString();
    const Kind k = fieldKind(col);
    for (int r = 0; r < recordCount(); ++r) {
        const QVariant v = storedValue(r, col);
        const bool hit = (k == Kind::Text || k == Kind::Memo || k == Kind::Unknown)
                             ? v.toString() == wanted && !(v.isNull() && !value.isNull())
                             : displayOf(k, v) == wanted || v == value;
        if (hit) {
            m_bof = m_eof = false;
            setCurrent(r);
            return true;
        }
    }
    return false;
}

Query::Bookmark Query::bookmark() const
{
    if (!isActive() || m_cur < 0)
        return -1;
    return rowKey(m_cur);
}

bool Query::gotoBookmark(Bookmark b)
{
    checkBrowseMode();
    if (b < 0)
        return false;
    if (!m_hasKey) {
        if (b >= recordCount())
            return false;
        m_bof = m_eof = false;
        setCurrent(int(b));
        return true;
    }
    for (int r = 0; r < recordCount(); ++r)
        if (rowKey(r) == b) {
            m_bof = m_eof = false;
            setCurrent(r);
            return true;
        }
    return false;
}

void Query::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit stateChanged();
}

void Query::loadBuffer()
{
    const int n = fieldCount();
    m_buf.assign(size_t(n), QVariant());
    for (int c = 0; c < n; ++c)
        m_buf[size_t(c)] = m_cur >= 0 ? m_rows->value(m_cur, c + m_hidden) : QVariant();
    m_old = m_buf;
    m_mod.assign(size_t(n), false);
}

void Query::edit()
{
    checkActive();
    if (isEditing())
        return;
    if (!canModify())
        throw DbError(QStringLiteral("%1: 数据集不能修改").arg(objectName()));
    if (m_cur < 0) {
        append();
        return;
    }
    loadBuffer();
    setState(Edit);
}

void Query::append()
{
    checkBrowseMode();
    if (!canModify())
        throw DbError(QStringLiteral("%1: 数据集不能修改").arg(objectName()));
    m_conn->finishReads();
    m_returnRow = m_cur;
    m_rows->append(std::vector<QVariant>());
    m_cur = m_rows->size() - 1;
    m_buf.assign(size_t(fieldCount()), QVariant());
    m_old = m_buf;
    m_mod.assign(size_t(fieldCount()), false);
    m_bof = m_eof = false;
    m_state = Insert;
    if (m_disable > 0)
        m_pendingReset = true;
    else
        emit rowInserted(m_cur);
    emitIfEnabled(&Query::currentChanged);
    emit stateChanged();
}

bool Query::isModified() const
{
    if (!isEditing())
        return false;
    for (bool b : m_mod)
        if (b)
            return true;
    return false;
}

QVariant Query::currentValue(int col) const
{
    checkActive();
    if (col < 0 || col >= fieldCount())
        throw DbError(QStringLiteral("字段序号越界"));
    if (isEditing())
        return m_buf[size_t(col)];
    if (m_cur < 0)
        return {};
    return m_rows->value(m_cur, col + m_hidden);
}

void Query::setCurrentValue(int col, const QVariant &stored)
{
    checkActive();
    if (!isEditing())
        edit();
    auto &slot = m_buf[size_t(col)];
    const bool same = slot.isNull() == stored.isNull() && slot == stored;
    if (same && slot.typeId() == stored.typeId())
        return;
    slot = stored;
    const QVariant &old = m_old[size_t(col)];
    m_mod[size_t(col)] = !(old.isNull() == stored.isNull() && old == stored) || m_state == Insert;
    if (m_disable > 0)
        m_pendingReset = true;
    else
        emit fieldChanged(col);
}

void Query::post()
{
    checkActive();
    if (!isEditing())
        return;
    // No write while a statement over the table is still stepping.
    m_conn->finishReads();
    updateRecord();
    if (!isEditing())
        return;
    Driver &db = m_conn->driver();
    const int off = m_hidden;
    qint64 key = -1;
    if (m_state == Insert) {
        QStringList names, marks;
        std::vector<QVariant> values;
        for (int c = 0; c < fieldCount(); ++c) {
            const QVariant &v = m_buf[size_t(c)];
            if (!v.isValid() || v.isNull())
                continue;   // absent columns take their defaults
            names << quoteIdent(fieldName(c));
            marks << QStringLiteral("?");
            values.push_back(v);
        }
        const QString sql = names.isEmpty()
                                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdent(m_table))
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(quoteIdent(m_table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        auto st = db.prepare(sql);
        for (size_t i = 0; i < values.size(); ++i)
            st->bind(int(i) + 1, values[i]);
        st->step();
        key = st->insertedKey();
    } else {
        key = rowKey(m_cur);
        QStringList sets;
        std::vector<QVariant> values;
        for (int c = 0; c < fieldCount(); ++c) {
            if (!m_mod[size_t(c)])
                continue;
            sets << quoteIdent(fieldName(c)) + QStringLiteral("=?");
            values.push_back(m_buf[size_t(c)]);
        }
        if (!sets.isEmpty()) {
            auto st = db.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                     .arg(quoteIdent(m_table), sets.join(QLatin1Char(',')), rowCondition()));
            for (size_t i = 0; i < values.size(); ++i)
                st->bind(int(i) + 1, values[i]);
            bindRow(*st, int(values.size()) + 1, m_cur);
            st->step();
            // The row was deleted (or, on a shared server, changed by another
            // workstation) after it was read: nothing was written, and saying
            // so is the only honest answer.
            if (st->rowsChanged() == 0)
                rowNotFound();
        }
    }
    // Read the stored row back, so that defaults and stored forms show.
    {
        auto st = keyedRowStatement();
        st->bindInteger(1, key);
        if (st->step() && st->columnCount() == fieldCount() + off) {
            m_rows->replaceFromStatement(m_cur, *st);
        } else {
            std::vector<QVariant> vals;
            vals.push_back(key);
            if (m_hidden > 1)
                vals.push_back(qint64(0));   // unknown version: a later write says the row changed
            vals.insert(vals.end(), m_buf.begin(), m_buf.end());
            m_rows->replace(m_cur, vals);
        }
    }
    m_buf.clear();
    m_old.clear();
    m_mod.clear();
    setState(Browse);
    if (m_disable > 0)
        m_pendingReset = true;
    else
        emit rowChanged(m_cur);
    emitIfEnabled(&Query::currentChanged);
}

void Query::cancel()
{
    if (!isEditing())
        return;
    const bool wasInsert = m_state == Insert;
    m_buf.clear();
    m_old.clear();
    m_mod.clear();
    m_state = Browse;
    if (wasInsert) {
        const int row = m_cur;
        m_rows->remove(row);
        if (m_disable > 0)
            m_pendingReset = true;
        else
            emit rowRemoved(row);
        int back = m_returnRow >= 0 && m_returnRow < m_rows->size() ? m_returnRow : m_rows->size() - 1;
        m_cur = back;
        m_eof = m_rows->size() == 0;
        m_bof = m_rows->size() == 0;
    } else if (m_disable > 0) {
        m_pendingReset = true;
    } else {
        // Grids showed the typed values and summed them in their footers.
        emit rowChanged(m_cur);
    }
    emit stateChanged();
    emitIfEnabled(&Query::currentChanged);
}

void Query::deleteRecord()
{
    checkActive();
    if (m_state == Insert) {
        cancel();
        return;
    }
    if (m_state == Edit)
        cancel();
    if (m_cur < 0)
        throw DbError(QStringLiteral("%1: 没有可删除的记录").arg(objectName()));
    m_conn->finishReads();
    if (!canModify())
        throw DbError(QStringLiteral("%1: 数据集不能修改").arg(objectName()));
    auto st = m_conn->driver().prepare(QStringLiteral("DELETE FROM %1 WHERE %2").arg(quoteIdent(m_table), rowCondition()));
    bindRow(*st, 1, m_cur);
    st->step();
    // On the file a row already gone is simply gone; where several
    // workstations share the data, a row changed since it was read is not
    // deleted unseen.
    if (st->rowsChanged() == 0 && m_hidden > 1)
        rowNotFound();
    const int row = m_cur;
    m_rows->remove(row);
    if (m_disable > 0)
        m_pendingReset = true;
    else
        emit rowRemoved(row);
    if (m_cur >= m_rows->size())
        m_cur = m_rows->size() - 1;
    m_eof = m_rows->size() == 0;
    m_bof = m_rows->size() == 0;
    emitIfEnabled(&Query::currentChanged);
}

void Query::disableControls() { ++m_disable; }

void Query::enableControls()
{
    if (m_disable > 0 && --m_disable == 0 && m_pendingReset) {
        m_pendingReset = false;
        emit dataReset();
        emit currentChanged();
    }
}

QVariant Query::storedValue(int row, int col) const
{
    if (!m_rows || row < 0 || row >= m_rows->size() || col < 0 || col >= fieldCount())
        return {};
    if (row == m_cur && isEditing())
        return m_buf[size_t(col)];
    return m_rows->value(row, col + m_hidden);
}

size_t Query::memoryUsed() const { return m_rows ? m_rows->memoryUsed() : 0; }

QString Query::displayText(int row, int col) const
{
    return displayOf(fieldKind(col), storedValue(row, col));
}

QVariant Query::columnSum(int col) const
{
    fetchAll();
    if (!m_rows || col < 0 || col >= fieldCount())
        return {};
    return sumValue(col, partialSum(col, 0, m_rows->size() - 1));
}

Query::Sum Query::partialSum(int col, int firstRow, int lastRow) const
{
    Sum sum;
    if (!m_rows || col < 0 || col >= fieldCount())
        return sum;
    const int c = col + m_hidden;
    lastRow = std::min(lastRow, m_rows->size() - 1);
    for (int r = std::max(0, firstRow); r <= lastRow; ++r) {
        if (r == m_cur && isEditing()) {
            const QVariant &v = m_buf[size_t(col)];
            if (v.typeId() == QMetaType::Double) { sum.real += v.toDouble(); sum.anyReal = true; }
            else if (v.isValid() && !v.isNull()) sum.integer += v.toLongLong();
            continue;
        }
        qint64 i = 0;
        double d = 0;
        bool real = false;
        if (m_rows->number(r, c, &i, &d, &real)) {
            if (real) { sum.real += d; sum.anyReal = true; }
            else sum.integer += i;
        }
    }
    return sum;
}

QVariant Query::sumValue(int col, const Sum &sum) const
{
    const Kind k = fieldKind(col);
    if (k == Kind::Money)
        return QVariant(qint64(sum.integer + std::llround(sum.real)));
    if (sum.anyReal || k == Kind::Float)
        return QVariant(double(sum.integer) + sum.real);
    return QVariant(sum.integer);
}

QString Query::displayOf(Kind k, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (k) {
    case Kind::Money:
        return moneyOf(k, v).toString();
    case Kind::Date: case Kind::DateTime: {
        const auto dt = parseDateTime(v.toString());
        if (!dt)
            return v.toString();
        if (k == Kind::Date || dt->time() == QTime(0, 0))
            return shortDate(dt->date());
        return shortDateTime(*dt);
    }
    case Kind::YesNo:
        return v.toLongLong() ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Float:
        return v.typeId() == QMetaType::QString ? v.toString() : trimmedNumber(v.toDouble());
    default:
        if (v.typeId() == QMetaType::Double)
            return trimmedNumber(v.toDouble());
        return v.toString();
    }
}

} // namespace db
