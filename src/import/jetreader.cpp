#include "import/jetreader.h"
#include "db/dberror.h"
#include "db/text.h"
#include <QFile>
#include <QFileInfo>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mdbtools.h>

namespace jetimport {
namespace {

constexpr int HeaderSize = 0x20;
// Text and memo values are copied into buffers of this size; a longer memo
// would be cut, so reaching it is an error rather than a silent loss.
constexpr size_t BindSize = size_t(1) << 20;

QByteArray header(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(HeaderSize);
}

JetType typeOf(int mdbType)
{
    switch (mdbType) {
    case MDB_BOOL: return JetType::YesNo;
    case MDB_BYTE: return JetType::Byte;
    case MDB_INT: return JetType::Integer;
    case MDB_LONGINT: return JetType::LongInteger;
    case MDB_MONEY: return JetType::Currency;
    case MDB_FLOAT: return JetType::Single;
    case MDB_DOUBLE: return JetType::Double;
    case MDB_DATETIME: return JetType::DateTime;
    case MDB_TEXT: return JetType::Text;
    case MDB_MEMO: return JetType::Memo;
    case MDB_NUMERIC: return JetType::Decimal;
    case MDB_REPID: return JetType::Guid;
    case MDB_BINARY: return JetType::Binary;
    case MDB_OLE: return JetType::Ole;
    default: return JetType::Other;
    }
}

// libmdb turns these into text; the others are read from the row's bytes.
bool boundAsText(JetType t)
{
    return t == JetType::Text || t == JetType::Memo || t == JetType::Decimal || t == JetType::Guid;
}

template <typename T> T little(const unsigned char *p)
{
    T v;
    std::memcpy(&v, p, sizeof v);   // the files and this machine are little-endian
    return v;
}

// A single as the decimal the clerk typed (0.1, not 0.100000001490116).
double widened(float f)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf - 1, f);
    *r.ptr = 0;
    return std::strtod(buf, nullptr);
}

MdbColumn *columnAt(MdbTableDef *t, int i) { return static_cast<MdbColumn *>(g_ptr_array_index(t->columns, i)); }

} // namespace

bool isAccessFile(const QString &path)
{
    const QByteArray h = header(path);
    return h.size() >= 19 && (h.mid(4, 15) == "Standard Jet DB" || h.mid(4, 15) == "Standard ACE DB");
}

bool isReadable(JetType t) { return t != JetType::Binary && t != JetType::Ole && t != JetType::Other; }

QString typeName(JetType t)
{
    switch (t) {
    case JetType::YesNo: return S("是/否");
    case JetType::Byte: return S("字节");
    case JetType::Integer: return S("整型");
    case JetType::LongInteger: return S("长整型");
    case JetType::Currency: return S("货币");
    case JetType::Single: return S("单精度");
    case JetType::Double: return S("双精度");
    case JetType::DateTime: return S("日期/时间");
    case JetType::Text: return S("文本");
    case JetType::Memo: return S("备注");
    case JetType::Decimal: return S("小数");
    case JetType::Guid: return S("同步复制 ID");
    case JetType::Binary: return S("二进制");
    case JetType::Ole: return S("OLE 对象");
    case JetType::Other: break;
    }
    return S("未知类型");
}

int JetTable::column(const QString &name) const
{
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

std::optional<QDateTime> JetValue::calendarDateTime() const
{
    // Whole days from 1899-12-30; the fraction is the time of day, also for
    // days before it (-1.25 is 1899-12-29 06:00).
    constexpr double Limit = 1e9;   // far beyond any year a file can hold
    if (kind != Kind::Date || !std::isfinite(real) || std::fabs(real) > Limit)
        return std::nullopt;
    double whole = std::trunc(real);
    qint64 seconds = std::llround(std::fabs(real - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += real < 0 ? -1 : 1;
    }
    const QDate day = QDate(1899, 12, 30).addDays(qint64(whole));
    if (!day.isValid())
        return std::nullopt;
    return QDateTime(day, QTime(0, 0).addSecs(int(seconds)));
}

std::optional<QDateTime> JetValue::dateTime() const
{
    const auto dt = calendarDateTime();
    if (!dt || dt->date().year() < 1900 || dt->date().year() > 9999)
        return std::nullopt;
    return dt;
}

QString JetValue::display() const
{
    switch (kind) {
    case Kind::Null: return S("(空)");
    case Kind::Bool: return yes ? S("是") : S("否");
    case Kind::Integer: return QString::number(integer);
    case Kind::Currency: {
        const qint64 a = integer < 0 ? -integer : integer;
        return QStringLiteral("%1%2.%3").arg(integer < 0 ? QStringLiteral("-") : QString()).arg(a / 10000)
            .arg(a % 10000, 4, 10, QLatin1Char('0'));
    }
    case Kind::Real: return QString::number(real, 'g', 15);
    case Kind::Date: {
        if (const auto dt = calendarDateTime())
            return dt->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return S("无效的日期数值 %1").arg(real);
    }
    case Kind::Text: return text;
    }
    return {};
}

struct JetFile::Handle {
    MdbHandle *mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

JetFile::JetFile(const QString &path) : m_path(path), m_h(std::make_unique<Handle>())
{
    const QFileInfo fi(path);
    if (!fi.isFile())
        throw db::DbError(S("文件不存在: %1").arg(path));
    if (!isAccessFile(path))
        throw db::DbError(S("%1 不是 Access 数据库文件").arg(path));
    // Jet 3 pages are 2 KiB, later versions' 4 KiB; a copy cut short ends
    // inside a page (or holds only the first one).
    const QByteArray h = header(path);
    const qint64 page = h.at(0x14) == 0 ? 2048 : 4096;
    if (fi.size() % page != 0 || fi.size() < 2 * page)
        throw db::DbError(S("%1 不完整: 文件长度 %2 字节不是整页 (%3 字节一页), 文件被截断或已损坏")
                              .arg(path).arg(fi.size()).arg(page));
    m_h->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_h->mdb)
        throw db::DbError(S("无法读取 Access 数据库文件 %1").arg(path));
    MdbHandle *mdb = m_h->mdb;
    // Jet 3 text is in the code page of the Windows that wrote it, which the
    // file names; libmdb assumes Western European.
    // Set for every Jet 3 file, so that one file's code page never stays for the next.
    if (IS_JET3(mdb)) {
        qputenv("MDB_JET3_CHARSET", "CP" + QByteArray::number(mdb->f->code_page ? mdb->f->code_page : 1252));
        mdb_iconv_close(mdb);
        mdb_iconv_init(mdb);
    }
    mdb_set_bind_size(mdb, BindSize);
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        throw db::DbError(S("%1: 读不出表的目录, 文件不完整或已损坏").arg(path));
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry))
            continue;
        MdbTableDef *t = mdb_read_table(entry);
        if (!t)
            throw db::DbError(S("%1: 读不出表 %2 的定义, 文件不完整或已损坏").arg(path, QString::fromUtf8(entry->object_name)));
        if (!mdb_read_columns(t)) {
            mdb_free_tabledef(t);
            throw db::DbError(S("%1: 读不出表 %2 的列, 文件不完整或已损坏").arg(path, QString::fromUtf8(entry->object_name)));
        }
        JetTable table{.name = QString::fromUtf8(entry->object_name), .columns = {}, .rows = t->num_rows};
        for (unsigned c = 0; c < t->num_cols; ++c) {
            MdbColumn *col = columnAt(t, int(c));
            table.columns.push_back({.name = QString::fromUtf8(col->name), .type = typeOf(col->col_type)});
        }
        mdb_free_tabledef(t);
        m_tables.push_back(std::move(table));
    }
}

JetFile::~JetFile() = default;

QString JetFile::format() const
{
    switch (m_h->mdb->f->jet_version) {
    case MDB_VER_JET3: return QStringLiteral("Jet 3");
    case MDB_VER_JET4: return QStringLiteral("Jet 4");
    default: return QStringLiteral("ACE");
    }
}

const JetTable *JetFile::table(const QString &name) const
{
    for (const auto &t : m_tables)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

void JetFile::read(const QString &tableName, const std::vector<int> &columns,
                   const std::function<void(const std::vector<JetValue> &)> &row) const
{
    MdbHandle *mdb = m_h->mdb;
    const JetTable *def = table(tableName);
    if (!def)
        throw db::DbError(S("旧文件中没有表 %1").arg(tableName));
    QByteArray name = def->name.toUtf8();
    MdbTableDef *t = mdb_read_table_by_name(mdb, name.data(), MDB_TABLE);
    if (!t)
        throw db::DbError(S("读不出表 %1").arg(def->name));
    struct Free { MdbTableDef *t; ~Free() { mdb_free_tabledef(t); } } freeTable{t};
    if (!mdb_read_columns(t) || t->num_cols != def->columns.size())
        throw db::DbError(S("读不出表 %1 的列").arg(def->name));

    struct Bound {
        MdbColumn *col;
        JetType type;
        std::vector<char> buf;
        int len = 0;
    };
    std::vector<Bound> bound;
    bound.reserve(columns.size());
    for (int c : columns) {
        if (c < 0 || c >= int(def->columns.size()) || !isReadable(def->columns[size_t(c)].type))
            throw db::DbError(S("表 %1 的第 %2 列读不出").arg(def->name).arg(c + 1));
        bound.push_back({.col = columnAt(t, c), .type = def->columns[size_t(c)].type, .buf = {}});
        Bound &b = bound.back();
        if (boundAsText(b.type)) {
            b.buf.resize(BindSize);
            mdb_bind_column(t, c + 1, b.buf.data(), &b.len);
        }
    }
    mdb_rewind_table(t);

    const bool jet3 = IS_JET3(mdb);
    std::vector<JetValue> values(columns.size());
    qint64 count = 0;
    while (mdb_fetch_row(t)) {
        ++count;
        // The row just read is the one before cur_row on the page in
        // pg_buf; its null mask (which also holds yes/no values) ends it.
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(mdb, int(t->cur_row) - 1, &start, &size) != 0 || size == 0)
            throw db::DbError(S("表 %1 第 %2 行读不出, 文件已损坏").arg(def->name).arg(count));
        const unsigned char *pg = mdb->pg_buf;
        const unsigned rowColumns = jet3 ? pg[start] : unsigned(little<quint16>(pg + start));
        const unsigned maskSize = (rowColumns + 7) / 8;
        if (maskSize > size)
            throw db::DbError(S("表 %1 第 %2 行读不出, 文件已损坏").arg(def->name).arg(count));
        const unsigned char *mask = pg + start + size - maskSize;
        for (size_t i = 0; i < bound.size(); ++i) {
            Bound &b = bound[i];
            JetValue &v = values[i];
            v = JetValue{};
            const unsigned n = unsigned(b.col->row_col_num);
            const bool present = n < rowColumns && (mask[n / 8] >> (n % 8)) & 1;
            if (b.type == JetType::YesNo) {
                v.kind = JetValue::Kind::Bool;
                v.yes = present;
                continue;
            }
            if (!present)
                continue;
            if (boundAsText(b.type)) {
                if (b.len >= int(BindSize) - 1)
                    throw db::DbError(S("表 %1 第 %2 行 %3 列的文本超过 1 MiB").arg(def->name).arg(count)
                                          .arg(QString::fromUtf8(b.col->name)));
                if (b.type == JetType::Memo && b.len == 0 && b.col->cur_value_len >= 4 &&
                    (little<quint32>(pg + b.col->cur_value_start) & 0x3fffffff) != 0)
                    throw db::DbError(S("表 %1 第 %2 行 %3 列的备注读不出, 文件已损坏").arg(def->name).arg(count)
                                          .arg(QString::fromUtf8(b.col->name)));
                v.kind = JetValue::Kind::Text;
                v.text = QString::fromUtf8(b.buf.data(), b.len);
                continue;
            }
            const unsigned char *p = pg + b.col->cur_value_start;
            const int len = b.col->cur_value_len;
            auto need = [&](int bytes) {
                if (len < bytes)
                    throw db::DbError(S("表 %1 第 %2 行 %3 列读不出, 文件已损坏").arg(def->name).arg(count)
                                          .arg(QString::fromUtf8(b.col->name)));
            };
            switch (b.type) {
            case JetType::Byte: need(1); v.kind = JetValue::Kind::Integer; v.integer = *p; break;
            case JetType::Integer: need(2); v.kind = JetValue::Kind::Integer; v.integer = little<qint16>(p); break;
            case JetType::LongInteger: need(4); v.kind = JetValue::Kind::Integer; v.integer = little<qint32>(p); break;
            case JetType::Currency: need(8); v.kind = JetValue::Kind::Currency; v.integer = little<qint64>(p); break;
            case JetType::Single: need(4); v.kind = JetValue::Kind::Real; v.real = widened(little<float>(p)); break;
            case JetType::Double: need(8); v.kind = JetValue::Kind::Real; v.real = little<double>(p); break;
            case JetType::DateTime: need(8); v.kind = JetValue::Kind::Date; v.real = little<double>(p); break;
            default: break;
            }
        }
        row(values);
    }
    // A file cut short at a page boundary ends the scan early.
    if (count != qint64(t->num_rows))
        throw db::DbError(S("表 %1 只读出 %2 行, 应有 %3 行: 文件不完整或已损坏").arg(def->name).arg(count).arg(t->num_rows));
}

} // namespace jetimport
