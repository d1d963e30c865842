#include "db/connection.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/schema.h"
#include "db/sqlitedriver.h"
#include <QFileInfo>

namespace db {

Connection::Connection(QObject *parent) : QObject(parent) {}

// Closing first lets the queries drop their statements while the engine is there.
Connection::~Connection() { close(); }

void Connection::open()
{
    if (m_driver)
        return;
    const bool server = isServerUrl(m_path);
    // A server's name is its host and database; the password never shows.
    const QString shown = server ? displayName(m_path) : QFileInfo(m_path).fileName();
    std::unique_ptr<Driver> driver;
    try {
        driver = server ? openDatabase(m_path) : std::make_unique<SqliteDriver>(m_path, SqliteDriver::Mode::ReadWrite);
    } catch (const DbError &e) {
        if (!server)
            throw;
        throw DbError(QStringLiteral("数据库 %1 无法打开: %2").arg(shown, e.message()));
    }
    try {
        const QStringList miss = schema::missing(*driver);   // fails on a file that is not a database
        if (!miss.isEmpty())
            throw DbError(QStringLiteral("数据库结构不完整, 缺少: %1").arg(miss.mid(0, 10).join(QStringLiteral(", "))));
    } catch (const DbError &e) {
        throw DbError(QStringLiteral("%1 不是有效的数据库: %2").arg(shown, e.message()));
    }
    m_filePath = driver->location();
    m_driver = std::move(driver);
    emit opened();
}

void Connection::close()
{
    if (!m_driver)
        return;
    emit aboutToClose();
    m_driver.reset();
}

Driver &Connection::driver() const
{
    if (!m_driver)
        throw DbError(QStringLiteral("数据库没有连接"));
    return *m_driver;
}

QStringList Connection::quickCheck(int limit)
{
    return driver().quickCheck(limit);
}

int Connection::execute(const QString &sql)
{
    finishReads();
    return driver().execute(sql);
}

void Connection::finishReads()
{
    const QList<const Query *> reads = m_reads;
    for (const Query *q : reads)
        q->fetchAll();
    m_reads.clear();
}

void Connection::readStarted(const Query *q)
{
    if (!m_reads.contains(q))
        m_reads.append(q);
}

void Connection::readEnded(const Query *q) { m_reads.removeAll(q); }

Transaction::Transaction(Connection &c) : m_conn(c)
{
    m_conn.finishReads();
    m_conn.driver().begin();
}

Transaction::~Transaction()
{
    if (!m_done && m_conn.isOpen())
        m_conn.driver().rollback();
}

void Transaction::commit()
{
    m_conn.driver().commit();
    m_done = true;
}

} // namespace db
