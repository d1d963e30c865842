#pragma once
#include "db/schema.h"
#include <QString>
#include <QVariant>

namespace grid {

// What print and export read from a grid: its visible columns in display
// order and all its rows, as the user sees them.
class TableSource {
public:
    virtual ~TableSource() = default;
    virtual int columnCount() const = 0;
    virtual QString title(int col) const = 0;       // full title, "|" separating group levels
    virtual int width(int col) const = 0;           // pixels on screen
    virtual db::Kind kind(int col) const = 0;
    virtual int rowCount() const = 0;
    virtual QString text(int row, int col) const = 0;   // display text
    // Numeric value for number and money columns (double), invalid otherwise
    // or when the cell is empty.
    virtual QVariant number(int row, int col) const = 0;
    virtual QString footer(int col) const = 0;      // footer text, may be empty
    virtual bool hasFooter() const = 0;
};

// Kinds whose cells are numbers: right-aligned, and written as numbers.
inline bool isNumericKind(db::Kind k)
{
    return k == db::Kind::Money || k == db::Kind::Integer || k == db::Kind::Float;
}

} // namespace grid
