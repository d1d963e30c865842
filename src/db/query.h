#pragma once
#include "db/money.h"
#include "db/schema.h"
#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class QTimer;

namespace db {

class Connection;
class Statement;
class Query;
class RowStore;

// Handle on one column of a query's current row. Reading an absent column
// or a closed query throws DbError, like the engine would.
class Field {
public:
    Field(Query *q, int column) : m_q(q), m_col(column) {}

    QString fieldName() const;
    Kind kind() const;
    int index() const { return m_col; }

    bool isNull() const;
    QVariant value() const;        // stored form (money as raw int64, dates as text)
    QVariant oldValue() const;     // as the row was read
    bool modified() const;

    QString asString() const;      // display form: "yyyy-M-d" dates, plain money, "是"-style text
    QDateTime asDateTime() const;  // invalid when null
    QDate asDate() const;
    Money asMoney() const;         // null counts as 0
    qint64 asInteger() const;      // null counts as 0
    double asFloat() const;
    bool asBoolean() const;

    // Setters put the row into edit mode when it is browsing (like typing into
    // a bound editor). setAsString parses by the column's kind; empty text
    // stores null for non-text kinds. Bad text throws DbError.
    void setValue(const QVariant &stored);
    void setAsString(const QString &text);
    void setAsDateTime(const QDateTime &dt);
    void setAsDate(const QDate &d);
    void setAsMoney(Money m);
    void setAsInteger(qint64 v);
    void setAsFloat(double v);
    void setAsBoolean(bool v);
    void clear();

private:
    Query *m_q;
    int m_col;
};

// The shared dataset: SQL held as lines (the last is the order-by), a static
// cursor with every row read on open, a current row, and browse/edit/insert
// states. Rows are stored compactly in one arena, not as objects per cell.
class Query : public QObject {
    Q_OBJECT
public:
    enum State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    Query(Connection *conn, const QString &name, QObject *parent = nullptr);
    ~Query() override;

    Connection *connection() const { return m_conn; }

    QStringList &sql() { return m_sql; }
    const QStringList &sql() const { return m_sql; }
    void setSql(const QStringList &lines) { m_sql = lines; }
    QString sqlText() const { return m_sql.join(QLatin1Char('\n')); }

    // Close, replace the lines, run them as a command, close: the pattern of
    // every update or delete a window runs on q_search.
    void execWith(const QStringList &lines);
    // Close, replace the lines, open: the pattern every opener uses.
    void reopenWith(const QStringList &lines);

    // Throws DbError; the query stays closed on failure. Reads the first
    // chunk of rows (more than the largest screen shows) and returns; the
    // rest is read in slices of a few milliseconds on the event loop. What
    // needs every row (recordCount, last, locate, bookmarks, sums, a write)
    // reads the rest first, so callers see the whole list as before.
    void open();
    void close();
    bool isActive() const { return m_state != Inactive; }
    void execSql();                // runs the lines as a command
    void refreshKeepingRow();      // reopen, back to the same row or else the last
    // Reads one listed row again from its table by its hidden key (after a
    // rolled-back transaction, say); the row stays listed even when it no
    // longer matches the query's condition. A pending change is cancelled
    // first. False when the row is gone or the query has no table.
    bool refetchRow(int row);
    // Reads every listed row again by its key: the values are the
    // database's, the set of rows stays (rows gone since keep what was read).
    void refetchRows();
    // Writes one column of several listed rows through one prepared
    // statement (a recomputation over the list); the listed values change
    // with it. Runs in the caller's transaction. Pairs are (row, stored value).
    // Throws DbError, the listed rows then partly changed: read them again.
    void writeColumn(int col, const std::vector<std::pair<int, QVariant>> &rowValues);

    // Base table when the query is "select * from <table> ..." (editable).
    QString tableName() const { return m_table; }
    bool canModify() const { return !m_table.isEmpty(); }

    int fieldCount() const;
    QString fieldName(int i) const;
    Kind fieldKind(int i) const;
    int fieldIndex(const QString &name) const;   // -1 when absent
    Field field(const QString &name);             // throws DbError when absent
    Field fieldByIndex(int i) { return Field(this, i); }
    Field operator[](const QString &name) { return field(name); }

    int recordCount() const;       // includes a row being inserted
    int recNo() const;             // 1-based; 0 when empty
    bool isEmpty() const { return rowsRead() == 0; }   // the first chunk decides
    // Rows read so far (grids show these); recordCount() waits for all.
    int rowsRead() const;
    bool isReading() const { return m_reader != nullptr; }
    // Reads the rest now (under the wait cursor when it takes a while).
    void fetchAll() const;
    static constexpr int FirstChunk = 256;
    // Shown while a whole-list operation waits for the rest; set by the
    // program (a wait cursor), none in tools.
    using WaitHook = void (*)(bool waiting);
    static void setWaitHook(WaitHook hook);
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);          // 0-based; posts or cancels a pending change first
    int currentRow() const { return m_cur; }
    bool locate(const QString &fieldName, const QVariant &value);

    using Bookmark = qint64;
    Bookmark bookmark() const;     // the hidden key of the current row, -1 when none
    bool gotoBookmark(Bookmark b);

    State state() const { return m_state; }
    bool isEditing() const { return m_state == Edit || m_state == Insert; }
    void edit();
    void append();
    // Writes the pending change in one statement. On failure throws DbError
    // and keeps the change pending (the caller decides to cancel).
    void post();
    void cancel();
    void deleteRecord();           // throws DbError; the row stays on failure
    bool isModified() const;       // any field of the pending change modified
    // Asks bound editors to put their pending text into the row; post() does
    // this first, as windows' checks do before reading fields.
    void updateRecord() { emit updateRecordRequested(); }

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disable > 0; }

    // Read access by (row, column) for grids and exports: no copy of the data.
    QVariant storedValue(int row, int col) const;
    QString displayText(int row, int col) const;
    // Sum of a numeric column over all rows (money in ten-thousandths).
    QVariant columnSum(int col) const;
    // The same in parts, for a grid that sums rows as they are read.
    struct Sum {
        qint64 integer = 0;
        double real = 0;
        bool anyReal = false;
        void add(const Sum &o) { integer += o.integer; real += o.real; anyReal = anyReal || o.anyReal; }
    };
    Sum partialSum(int col, int firstRow, int lastRow) const;   // rows read so far only
    QVariant sumValue(int col, const Sum &sum) const;
    // Memory held by the rows read on open (chunks and row index).
    size_t memoryUsed() const;

    // Display form of a stored value of the given kind.
    static QString displayOf(Kind k, const QVariant &stored);

signals:
    void opened();
    void closed();
    void dataReset();              // rows replaced or controls re-enabled
    void currentChanged();         // cursor moved
    void stateChanged();
    void fieldChanged(int col);    // value of the current row changed
    void rowChanged(int row);      // stored row replaced (after post)
    void rowInserted(int row);
    void rowRemoved(int row);
    void updateRecordRequested();
    void rowsAppended(int first, int last);   // more of the list was read
    void readFinished();                      // the list is whole (or the read failed)
    void readFailed(const QString &message);  // the engine stopped the read; the list is closed

private:
    friend class Field;
    void checkActive() const;
    void checkBrowseMode();
    void setState(State s);
    void loadBuffer();
    void setCurrent(int row, bool force = false);
    QVariant currentValue(int col) const;
    void setCurrentValue(int col, const QVariant &stored);
    void emitIfEnabled(void (Query::*sig)());
    // Reads until `row` exists, the budget is spent or the list ends;
    // true when `row` exists afterwards.
    bool readUntil(int row, qint64 budgetNs = -1) const;
    void readSlice();
    void stopReading() const;
    qint64 rowKey(int row) const;
    // The table's hidden key, the select list that reads it first as __key,
    // and a statement reading one row of the table by it (parameter 1).
    QString keyColumn() const;
    QString rowCondition() const;
    void bindRow(Statement &st, int first, int row) const;   // the key (and version) of a listed row
    [[noreturn]] void rowNotFound() const;
    QString keyedColumns(const QString &table) const;
    std::unique_ptr<Statement> keyedRowStatement() const;

    Connection *m_conn;
    QStringList m_sql;
    QString m_table;
    State m_state = Inactive;
    std::unique_ptr<RowStore> m_rows;
    mutable std::unique_ptr<Statement> m_reader;   // the rest of the list, while reading
    mutable int m_announced = 0;                   // rows told to the grids by rowsAppended
    mutable qint64 m_announcedAt = 0;              // ns on m_readClock
    QTimer *m_readTimer = nullptr;
    struct Col { QString name; Kind kind; };
    std::vector<Col> m_cols;                  // visible columns (hidden key excluded)
    bool m_hasKey = false;
    int m_hidden = 0;                         // columns before the visible ones: key, version
    int m_cur = -1;
    bool m_bof = true, m_eof = true;
    int m_disable = 0;
    bool m_pendingReset = false;
    // Pending change of the current row.
    std::vector<QVariant> m_buf, m_old;
    std::vector<bool> m_mod;
    int m_returnRow = -1;                     // where cancel of an insert goes back to
};

} // namespace db
