#include "db/driver.h"

namespace db {

void Statement::bind(int index, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        bindNull(index);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::LongLong: case QMetaType::Int: case QMetaType::Bool: case QMetaType::UInt:
        bindInteger(index, v.toLongLong());
        break;
    case QMetaType::Double:
        bindReal(index, v.toDouble());
        break;
    default: {
        const QByteArray b = v.toString().toUtf8();
        bindText(index, b.constData(), int(b.size()));
    }
    }
}

QVariant Statement::value(int i) const
{
    const Cell c = cell(i);
    switch (c.type) {
    case Cell::Integer: return c.integer;
    case Cell::Real: return c.real;
    case Cell::Text: return QString::fromUtf8(c.text, c.size);
    case Cell::Null: break;
    }
    return {};
}

} // namespace db
