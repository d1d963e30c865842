#include "db/pgdriver.h"
#include "db/dberror.h"
#include "db/pgdialect.h"
#include "db/schema.h"
#include <QUrl>
#include <QUrlQuery>
#include <libpq-fe.h>
#include <vector>

namespace db {
namespace {

// Type numbers of the built-in types the windows read.
constexpr Oid BoolOid = 16, Int8Oid = 20, Int2Oid = 21, Int4Oid = 23, Float4Oid = 700, Float8Oid = 701,
              NumericOid = 1700;

// Enough for a window's own update statements before it posts an older
// copy; every write's condition names them, so the list stays short.
constexpr int OwnXidsKept = 64;

QString text(const char *s) { return QString::fromUtf8(s ? s : ""); }

// What the clerk reads first for a server's error class; the server's own
// words follow for whoever is asked to help.
QString sentenceFor(const QString &state)
{
    if (state == QLatin1String("23505")) return QStringLiteral("记录重复");
    if (state == QLatin1String("23502")) return QStringLiteral("缺少必须填写的值");
    if (state == QLatin1String("55P03")) return QStringLiteral("数据正被其他用户修改，等待超时，请稍后重试");
    if (state == QLatin1String("40P01")) return QStringLiteral("与其他用户的操作相互等待（死锁），本次操作没有完成，请重试");
    if (state == QLatin1String("40001")) return QStringLiteral("与其他用户的操作冲突，本次操作没有完成，请重试");
    if (state == QLatin1String("57014")) return QStringLiteral("操作超时被取消");
    if (state == QLatin1String("25006")) return QStringLiteral("数据库只读，不能写入");
    if (state == QLatin1String("42501")) return QStringLiteral("没有权限");
    if (state == QLatin1String("53100")) return QStringLiteral("服务器磁盘已满");
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        return QStringLiteral("与数据库服务器的连接已断开");
    return {};
}

} // namespace

// ------------------------------------------------------------ PgStatement

class PgStatement final : public Statement {
public:
    PgStatement(PgDriver &d, const QString &sql) : m_driver(d)
    {
        const pg::Translated t = pg::translate(sql);
        m_first = pg::firstWord(sql);
        QString text = t.text;
        m_write = m_first == QLatin1String("insert") || m_first == QLatin1String("update") ||
                  m_first == QLatin1String("delete");
        // The key of an inserted row: the server says it only when asked.
        if (m_first == QLatin1String("insert") && !text.contains(QLatin1String("returning"), Qt::CaseInsensitive)) {
            const QStringList words = sql.simplified().toLower().split(QLatin1Char(' '));
            const int at = words.indexOf(QStringLiteral("into"));
            if (at >= 0 && at + 1 < words.size()) {
                QString table = sql.simplified().split(QLatin1Char(' '))[at + 1].section(QLatin1Char('('), 0, 0);
                table.remove(QLatin1Char('"'));
                const bool values = sql.contains(QLatin1String("values"), Qt::CaseInsensitive) &&
                                    !sql.contains(QLatin1String("select"), Qt::CaseInsensitive);
                if (schema::table(table) && values) {
                    text += QStringLiteral(" RETURNING ") + d.keyColumn(table);
                    m_returning = true;
                }
            }
        }
        m_text = text.toUtf8();
        m_values.resize(size_t(t.parameters));
        m_null.assign(size_t(t.parameters), true);
    }
    ~PgStatement() override { discard(); }

    void bindNull(int i) override { slot(i); m_null[size_t(i - 1)] = true; }
    void bindInteger(int i, qint64 v) override { set(i, QByteArray::number(v)); }
    void bindReal(int i, double v) override { set(i, QByteArray::number(v, 'g', 17)); }
    void bindText(int i, const char *utf8, int size, bool) override { set(i, QByteArray(utf8, size)); }

    bool step() override
    {
        if (m_state == Done)
            return false;
        if (m_state == Idle)
            start();
        if (m_peeked) {
            m_peeked = false;
            return rowOrEnd();
        }
        next();
        return rowOrEnd();
    }

    void reset(bool clear) override
    {
        discard();
        if (clear)
            m_null.assign(m_null.size(), true);
    }

    int columnCount() const override { ensureDescribed(); return m_res ? PQnfields(m_res) : 0; }
    QString columnName(int i) const override { ensureDescribed(); return text(PQfname(m_res, i)); }
    Kind columnKind(int i) const override
    {
        ensureDescribed();
        const Oid table = PQftable(m_res, i);
        if (table == InvalidOid)
            return Kind::Unknown;
        return m_driver.kindOf(table, PQftablecol(m_res, i));
    }
    Cell cell(int i) const override
    {
        Cell c;
        if (!m_res || PQntuples(m_res) == 0 || PQgetisnull(m_res, 0, i))
            return c;
        const char *v = PQgetvalue(m_res, 0, i);
        switch (PQftype(m_res, i)) {
        case Int2Oid: case Int4Oid: case Int8Oid:
            c.type = Cell::Integer;
            c.integer = std::strtoll(v, nullptr, 10);
            return c;
        case BoolOid:
            c.type = Cell::Integer;
            c.integer = v[0] == 't';
            return c;
        case Float4Oid: case Float8Oid:
            c.type = Cell::Real;
            c.real = std::strtod(v, nullptr);
            return c;
        case NumericOid:
            // sum() of whole numbers (money among them) comes back as numeric:
            // read exactly while it is whole and fits.
            if (!std::strchr(v, '.') && std::strlen(v) < 19) {
                c.type = Cell::Integer;
                c.integer = std::strtoll(v, nullptr, 10);
            } else {
                c.type = Cell::Real;
                c.real = std::strtod(v, nullptr);
            }
            return c;
        default:
            c.type = Cell::Text;
            c.text = v;
            c.size = PQgetlength(m_res, 0, i);
            return c;
        }
    }

    int rowsChanged() const override { return m_changes; }
    qint64 insertedKey() const override { return m_inserted; }

    // Another statement needs the session: the rest of this one's rows are
    // read now and served from memory.
    void readToEnd()
    {
        if (m_state != Running)
            return;
        while (PGresult *r = PQgetResult(m_driver.handle())) {
            const ExecStatusType s = PQresultStatus(r);
            if (s == PGRES_SINGLE_TUPLE) {
                m_buffered.push_back(r);
            } else {
                m_tail = r;   // the end or an error, met when the rows are used
                while (PGresult *more = PQgetResult(m_driver.handle()))
                    PQclear(more);
                break;
            }
        }
        m_state = Buffered;
        m_driver.released(this);
    }

private:
    enum State { Idle, Running, Buffered, Done };

    void slot(int i) const
    {
        if (i < 1 || i > int(m_values.size()))
            throw DbError(QStringLiteral("参数序号越界: %1").arg(i));
    }
    void set(int i, QByteArray v)
    {
        slot(i);
        m_values[size_t(i - 1)] = std::move(v);
        m_null[size_t(i - 1)] = false;
    }

    void ensureDescribed() const
    {
        if (m_state == Idle) {
            auto *self = const_cast<PgStatement *>(this);
            self->start();
            self->next();
            self->m_peeked = true;
        }
    }

    void start()
    {
        m_driver.ensureConnected();
        // A write outside a transaction is made its own, so that the
        // session knows the rows it wrote (see PgDriver::rowCondition).
        m_ownTransaction = m_write && !m_driver.inTransaction();
        if (m_ownTransaction)
            m_driver.beginOwn();
        m_driver.claim(this);
        std::vector<const char *> values(m_values.size());
        for (size_t k = 0; k < m_values.size(); ++k)
            values[k] = m_null[k] ? nullptr : m_values[k].constData();
        if (!PQsendQueryParams(m_driver.handle(), m_text.constData(), int(values.size()), nullptr, values.data(), nullptr,
                               nullptr, 0)) {
            m_driver.released(this);
            fail(nullptr);
        }
        PQsetSingleRowMode(m_driver.handle());
        m_state = Running;
        m_changes = 0;
    }

    // Moves to the next result: a row, the end, or an error (thrown).
    void next()
    {
        if (m_res) {
            PQclear(m_res);
            m_res = nullptr;
        }
        PGresult *r = nullptr;
        if (m_state == Running) {
            r = PQgetResult(m_driver.handle());
        } else if (m_state == Buffered) {
            if (!m_buffered.empty()) {
                r = m_buffered.front();
                m_buffered.pop_front();
            } else {
                r = m_tail;
                m_tail = nullptr;
            }
        }
        if (!r) {
            finish();
            return;
        }
        switch (PQresultStatus(r)) {
        case PGRES_SINGLE_TUPLE:
            m_res = r;
            if (m_returning) {
                m_inserted = std::strtoll(PQgetvalue(r, 0, 0), nullptr, 10);
                next();
            }
            return;
        case PGRES_TUPLES_OK:
        case PGRES_COMMAND_OK:
            m_changes = std::atoi(PQcmdTuples(r));
            // The end keeps the columns' description for a statement with no rows.
            m_res = r;
            finish();
            return;
        default:
            fail(r);
        }
    }

    bool rowOrEnd() const { return m_state != Done && m_res && PQresultStatus(m_res) == PGRES_SINGLE_TUPLE; }

    void finish()
    {
        if (m_state == Running) {
            while (PGresult *more = PQgetResult(m_driver.handle()))
                PQclear(more);
            m_driver.released(this);
        }
        m_state = Done;
        if (m_ownTransaction) {
            m_ownTransaction = false;
            m_driver.commitOwn();
        }
    }

    [[noreturn]] void fail(PGresult *r)
    {
        const QString why = m_driver.describe(r);
        PQclear(r);
        discard();
        m_driver.failed();
        m_ownTransaction = false;
        throw DbError(why);
    }

    void discard()
    {
        if (m_state == Running) {
            while (PGresult *more = PQgetResult(m_driver.handle()))
                PQclear(more);
            m_driver.released(this);
        }
        for (PGresult *r : m_buffered)
            PQclear(r);
        m_buffered.clear();
        PQclear(m_tail);
        m_tail = nullptr;
        PQclear(m_res);
        m_res = nullptr;
        m_peeked = false;
        m_state = Idle;
        if (m_ownTransaction) {
            m_ownTransaction = false;
            m_driver.rollbackOwn();
        }
    }

    PgDriver &m_driver;
    QByteArray m_text;
    QString m_first;
    bool m_write = false, m_returning = false, m_ownTransaction = false, m_peeked = false;
    std::vector<QByteArray> m_values;
    std::vector<bool> m_null;
    State m_state = Idle;
    PGresult *m_res = nullptr, *m_tail = nullptr;
    std::deque<PGresult *> m_buffered;
    int m_changes = 0;
    qint64 m_inserted = 0;
};

// ------------------------------------------------------------ PgDriver

QString PgDriver::withoutPassword(const QString &url)
{
    QUrl u(url);
    if (!u.isValid())
        return QStringLiteral("(数据库地址)");
    u.setPassword(QString());
    QUrlQuery q(u);
    q.removeAllQueryItems(QStringLiteral("password"));
    u.setQuery(q);
    return u.toString();
}

QString PgDriver::displayName(const QString &url)
{
    const QUrl u(url);
    const QUrlQuery q(u);
    QString host = u.host();
    if (host.isEmpty())
        host = q.queryItemValue(QStringLiteral("host"));
    if (host.isEmpty())
        host = QStringLiteral("localhost");
    QString name = u.path().mid(1);
    if (name.isEmpty())
        name = q.queryItemValue(QStringLiteral("dbname"));
    return QStringLiteral("%1/%2").arg(host, name);
}

PgDriver::PgDriver(const QString &url) : m_url(url)
{
    // A server that does not answer is said within seconds, not after the
    // system's minutes.
    QString conninfo = url;
    if (!conninfo.contains(QLatin1String("connect_timeout")))
        conninfo += (conninfo.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) + QStringLiteral("connect_timeout=5");
    m_location = displayName(url);
    m_conn = PQconnectdb(conninfo.toUtf8().constData());
    if (!m_conn || PQstatus(m_conn) != CONNECTION_OK) {
        QString why = m_conn ? text(PQerrorMessage(m_conn)).trimmed() : QStringLiteral("内存不足");
        // libpq's message may quote the conninfo; the password never shows.
        const QString pw = QUrl(url).password();
        if (!pw.isEmpty())
            why.replace(pw, QStringLiteral("***"));
        PQfinish(m_conn);
        m_conn = nullptr;
        throw DbError(QStringLiteral("无法连接数据库服务器 %1: %2").arg(m_location, why));
    }
    const QString encoding = text(PQparameterStatus(m_conn, "server_encoding"));
    if (encoding != QLatin1String("UTF8")) {
        PQfinish(m_conn);
        m_conn = nullptr;
        throw DbError(QStringLiteral("数据库 %1 的编码是 %2, 必须是 UTF8 (createdb -E UTF8 -T template0)").arg(m_location, encoding));
    }
    PQsetClientEncoding(m_conn, "UTF8");
    sessionSetup();
}

PgDriver::~PgDriver()
{
    if (m_running)
        m_running->readToEnd();
    PQfinish(m_conn);
}

void PgDriver::sessionSetup()
{
    // ISO dates read back in the stored form; a lock that is not given within
    // five seconds ends in a message instead of a frozen window.
    execute(QStringLiteral("SET DateStyle = 'ISO, YMD'; SET lock_timeout = '5s'; SET standard_conforming_strings = on; "
                           "SET client_min_messages = warning"));
    m_readOnly = runScalar(QStringLiteral("select current_setting('transaction_read_only')")) == QLatin1String("on");
    m_schemaReady = !runScalar(QStringLiteral("select to_regclass('public.通用')::text")).isEmpty();
    if (!m_schemaReady)
        return;
    // Each workstation's summaries write their result into 通用: a table of
    // the session, so two clerks at once each see their own.
    execute(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS 通用 (LIKE public.通用 INCLUDING DEFAULTS INCLUDING IDENTITY)"));
    m_kinds.clear();
    auto st = prepare(QStringLiteral(
        "select c.oid::bigint, c.relname::text, a.attnum::int, a.attname::text from pg_class c "
        "join pg_attribute a on a.attrelid = c.oid where a.attnum > 0 and not a.attisdropped and c.relkind = 'r' "
        "and c.relnamespace in ('public'::regnamespace, pg_my_temp_schema())"));
    while (st->step()) {
        const TableDef *t = schema::table(st->value(1).toString());
        if (!t)
            continue;
        const QString col = st->value(3).toString();
        const ColumnDef *c = t->column(col);
        const Kind k = c ? c->kind : (col == QLatin1String("rowid") ? Kind::Integer : Kind::Unknown);
        m_kinds.insert((quint64(st->value(0).toLongLong()) << 16) | quint64(st->value(2).toInt()), k);
    }
}

Kind PgDriver::kindOf(unsigned tableOid, int column) const
{
    const quint64 key = (quint64(tableOid) << 16) | quint64(column);
    const auto it = m_kinds.constFind(key);
    if (it != m_kinds.constEnd())
        return *it;
    // A table made after the session began (a window's result table): its
    // columns' declared kinds, once. Only the database's own tables; the
    // system's are below the first ordinary number.
    constexpr unsigned FirstNormalObjectId = 16384;
    if (tableOid < FirstNormalObjectId || m_kindsLooked.contains(tableOid))
        return Kind::Unknown;
    m_kindsLooked.insert(tableOid);
    if (m_running)
        m_running->readToEnd();
    PGresult *r = PQexec(m_conn, QStringLiteral("select attnum, format_type(atttypid, null) from pg_attribute "
                                                "where attrelid = %1 and attnum > 0").arg(tableOid).toUtf8().constData());
    if (PQresultStatus(r) == PGRES_TUPLES_OK)
        for (int i = 0; i < PQntuples(r); ++i)
            m_kinds.insert((quint64(tableOid) << 16) | quint64(std::atoi(PQgetvalue(r, i, 0))),
                           schema::kindFromDeclType(text(PQgetvalue(r, i, 1))));
    PQclear(r);
    return m_kinds.value(key, Kind::Unknown);
}

QString PgDriver::describe(const PGresult *res) const
{
    QString state, words;
    if (res) {
        state = text(PQresultErrorField(res, PG_DIAG_SQLSTATE));
        words = text(PQresultErrorField(res, PG_DIAG_MESSAGE_PRIMARY));
    }
    if (words.isEmpty())
        words = text(PQerrorMessage(m_conn)).trimmed();
    if (state.isEmpty() && PQstatus(m_conn) == CONNECTION_BAD)
        state = QStringLiteral("08006");
    // Our own functions refuse in the clerk's words already (P0001).
    const QString what = sentenceFor(state);
    return what.isEmpty() ? words : what + QStringLiteral("。") + words;
}

void PgDriver::ensureConnected()
{
    if (!m_conn)
        throw DbError(QStringLiteral("数据库没有连接"));
    checkNotAborted();
    if (PQstatus(m_conn) == CONNECTION_OK)
        return;
    if (m_userTransaction) {
        // What the transaction did is gone with the session.
        m_aborted = true;
        throw DbError(QStringLiteral("与数据库服务器的连接已断开, 本次操作没有完成"));
    }
    // The session is gone (the server restarted, the network dropped): the
    // next action connects again, or says why it cannot.
    m_running = nullptr;
    PQreset(m_conn);
    if (PQstatus(m_conn) != CONNECTION_OK)
        throw DbError(QStringLiteral("与数据库服务器的连接已断开，重新连接失败: %1").arg(text(PQerrorMessage(m_conn)).trimmed()));
    PQsetClientEncoding(m_conn, "UTF8");
    sessionSetup();
}

void PgDriver::claim(PgStatement *st)
{
    if (m_running && m_running != st)
        m_running->readToEnd();
    m_running = st;
}

void PgDriver::released(PgStatement *st)
{
    if (m_running == st)
        m_running = nullptr;
}

void PgDriver::failed()
{
    // The server refuses everything after an error until the transaction
    // ends: it ends here, and the caller is told. The rest of a clerk's
    // action is refused too, until its transaction is ended: nothing of it
    // may land on its own.
    if (PQstatus(m_conn) == CONNECTION_OK && PQtransactionStatus(m_conn) != PQTRANS_IDLE) {
        if (m_running)
            m_running->readToEnd();
        PQclear(PQexec(m_conn, "ROLLBACK"));
    }
    if (m_userTransaction)
        m_aborted = true;
}

void PgDriver::checkNotAborted() const
{
    if (m_aborted)
        throw DbError(QStringLiteral("操作中出现错误, 已全部撤销, 请重新操作"));
}

std::unique_ptr<Statement> PgDriver::prepare(const QString &sql)
{
    if (!m_conn)
        throw DbError(QStringLiteral("数据库没有连接"));
    if (sql.trimmed().isEmpty())
        throw DbError(QStringLiteral("没有可执行的语句"));
    return std::make_unique<PgStatement>(*this, sql);
}

int PgDriver::execute(const QString &sql)
{
    ensureConnected();
    if (m_running)
        m_running->readToEnd();
    const QString first = pg::firstWord(sql);
    const bool write = first == QLatin1String("insert") || first == QLatin1String("update") || first == QLatin1String("delete");
    const bool own = write && !inTransaction();
    if (own)
        beginOwn();
    PGresult *r = PQexec(m_conn, pg::translate(sql).text.toUtf8().constData());
    const ExecStatusType s = PQresultStatus(r);
    if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK) {
        const QString why = describe(r);
        PQclear(r);
        failed();
        throw DbError(why);
    }
    const int changed = std::atoi(PQcmdTuples(r));
    PQclear(r);
    if (own)
        commitOwn();
    return changed;
}

QString PgDriver::runScalar(const QString &sql)
{
    auto st = prepare(sql);
    return st->step() ? st->value(0).toString() : QString();
}

void PgDriver::begin()
{
    ensureConnected();
    if (inTransaction())
        throw DbError(QStringLiteral("不能在一个事务中开始另一个事务"));
    beginOwn();
    m_userTransaction = true;
}

void PgDriver::beginOwn()
{
    if (m_running)
        m_running->readToEnd();
    PGresult *r = PQexec(m_conn, "BEGIN");
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    const QString why = ok ? QString() : describe(r);
    PQclear(r);
    if (!ok)
        throw DbError(why);
}

void PgDriver::noteOwnTransaction()
{
    // The rows this session writes carry its transaction number; a copy of
    // such a row read before is not another workstation's change.
    PGresult *r = PQexec(m_conn, "select pg_current_xact_id_if_assigned()::text");
    if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 && !PQgetisnull(r, 0, 0)) {
        const qint64 xid = std::strtoll(PQgetvalue(r, 0, 0), nullptr, 10) & 0xffffffffLL;   // xmin is the low 32 bits
        if (!m_ownXidSet.contains(xid)) {
            m_ownXids.push_back(xid);
            m_ownXidSet.insert(xid);
            if (m_ownXids.size() > OwnXidsKept) {
                m_ownXidSet.remove(m_ownXids.front());
                m_ownXids.pop_front();
            }
        }
    }
    PQclear(r);
}

void PgDriver::commit()
{
    checkNotAborted();
    if (!m_userTransaction)
        throw DbError(QStringLiteral("没有进行中的事务"));
    m_userTransaction = false;
    commitOwn();
}

void PgDriver::commitOwn()
{
    if (m_running)
        m_running->readToEnd();
    noteOwnTransaction();
    PGresult *r = PQexec(m_conn, "COMMIT");
    const ExecStatusType s = PQresultStatus(r);
    if (s != PGRES_COMMAND_OK) {
        const QString why = describe(r);
        PQclear(r);
        // A connection lost while committing: the server may have committed.
        if (PQstatus(m_conn) == CONNECTION_BAD)
            throw DbError(why, DbError::Outcome::Unknown);
        rollbackOwn();
        throw DbError(why);
    }
    PQclear(r);
}

void PgDriver::rollback()
{
    m_userTransaction = false;
    m_aborted = false;
    rollbackOwn();
}

void PgDriver::rollbackOwn()
{
    if (!m_conn || PQstatus(m_conn) != CONNECTION_OK || PQtransactionStatus(m_conn) == PQTRANS_IDLE)
        return;
    if (m_running)
        m_running->readToEnd();
    PQclear(PQexec(m_conn, "ROLLBACK"));
}

bool PgDriver::inTransaction() const
{
    if (m_userTransaction)
        return true;
    if (!m_conn || PQstatus(m_conn) != CONNECTION_OK)
        return false;
    const PGTransactionStatusType t = PQtransactionStatus(m_conn);
    return t == PQTRANS_INTRANS || t == PQTRANS_INERROR || t == PQTRANS_ACTIVE;
}

QString PgDriver::keyColumn(const QString &table) const
{
    return table == QStringLiteral("现金日记帐") ? QStringLiteral("编号") : QStringLiteral("rowid");
}

QString PgDriver::keyedSelectList(const QString &table) const
{
    // The columns by name: the key column is a real one here, and "*" would
    // show it as a field.
    QStringList cols{keyColumn(table) + QStringLiteral(" AS __key"), QStringLiteral("xmin::text::bigint AS __ver")};
    if (const TableDef *t = schema::table(table))
        for (const auto &c : t->columns)
            cols << c.name;
    return cols.join(QStringLiteral(", "));
}

QString PgDriver::rowCondition(const QString &table) const
{
    // The row as it was read: a row another workstation has changed since
    // has another version and is not found. Versions this session wrote
    // itself (an update statement of the same window) do not count as
    // another's change.
    // The transaction under way counts as this session's own too.
    QString own = QStringLiteral("(pg_current_xact_id_if_assigned()::text::bigint % 4294967296)");
    for (const qint64 x : m_ownXids)
        own += QLatin1Char(',') + QString::number(x);
    return QStringLiteral("%1=? AND (xmin::text::bigint=? OR xmin::text::bigint IN (%2))").arg(keyColumn(table), own);
}

QString PgDriver::conflictMessage() const
{
    return QStringLiteral("该记录已被其他用户修改,请刷新后重新操作!");
}

QStringList PgDriver::columnsOf(const QString &table)
{
    auto st = prepare(QStringLiteral("select attname::text from pg_attribute where attrelid = to_regclass(?) "
                                     "and attnum > 0 and not attisdropped and attname <> 'rowid' order by attnum"));
    const QByteArray t = table.toUtf8();
    st->bindText(1, t.constData(), int(t.size()));
    QStringList names;
    while (st->step())
        names << st->value(0).toString();
    return names;
}

void PgDriver::copyBegin(const QString &table, const QStringList &columns)
{
    ensureConnected();
    if (m_running)
        m_running->readToEnd();
    PGresult *r = PQexec(m_conn, QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(QStringLiteral(", "))).toUtf8().constData());
    const bool ok = PQresultStatus(r) == PGRES_COPY_IN;
    const QString why = ok ? QString() : describe(r);
    PQclear(r);
    if (!ok) {
        failed();
        throw DbError(why);
    }
}

void PgDriver::copyData(const QByteArray &lines)
{
    if (PQputCopyData(m_conn, lines.constData(), int(lines.size())) != 1) {
        const QString why = describe(nullptr);
        failed();
        throw DbError(why);
    }
}

void PgDriver::copyEnd()
{
    const bool sent = PQputCopyEnd(m_conn, nullptr) == 1;
    PGresult *r = PQgetResult(m_conn);
    const bool ok = sent && PQresultStatus(r) == PGRES_COMMAND_OK;
    const QString why = ok ? QString() : describe(r);
    PQclear(r);
    while (PGresult *more = PQgetResult(m_conn))
        PQclear(more);
    if (!ok) {
        failed();
        throw DbError(why);
    }
}

void PgDriver::appendCopyValue(QByteArray &out, const char *utf8, int size)
{
    for (int i = 0; i < size; ++i) {
        const char c = utf8[i];
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

QStringList PgDriver::quickCheck(int limit)
{
    QStringList problems;
    try {
        // An ICU upgrade changes the order the indexes were built in.
        auto st = prepare(QStringLiteral(
            "select collname::text from pg_collation where collprovider = 'i' and collnamespace = 'public'::regnamespace "
            "and collversion is distinct from pg_collation_actual_version(oid)"));
        while (st->step() && problems.size() < qMax(1, limit))
            problems << QStringLiteral("排序规则 %1 的版本已变化 (libicu 升级), 需要 ALTER COLLATION %1 REFRESH VERSION 并 REINDEX DATABASE")
                            .arg(st->value(0).toString());
    } catch (const DbError &e) {
        problems << e.message();
    }
    return problems;
}

} // namespace db
