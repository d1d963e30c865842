#pragma once
#include <QString>

namespace grid {

class DBGridEh;

// A window's remembered grid layout in an ini file in the working folder
// ("container_ysd.ini"): the fit-to-width switch and, per column in display
// order, field, footer value and type, title, visibility and width.
// The window loads it when shown and saves it once when it closes.
class LayoutStore {
public:
    explicit LayoutStore(const QString &fileName);

    QString fileName() const { return m_path; }
    bool exists() const;

    void save(const DBGridEh &grid) const;
    // Applies a stored layout to the grid's current columns, matched by field
    // name: fields the grid no longer has are ignored, columns the file does
    // not mention keep their place after the stored ones. False when there is
    // no file or it holds no usable layout (the grid is then left alone).
    bool load(DBGridEh &grid) const;
    // Deletes the file, so that the next opening shows the design layout.
    bool remove() const;

private:
    QString m_path;
};

} // namespace grid
