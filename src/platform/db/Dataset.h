#pragma once

#include "platform/db/FieldDef.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

namespace db {

class Connection;
class Dataset;

// A light handle on one field of a dataset's current row.
class Field {
public:
    Field(Dataset* ds, int index) : m_ds(ds), m_index(index) {}
    const FieldDef& def() const;
    QString name() const { return def().name; }
    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    int asInteger() const;
    qint64 asLargeInt() const;
    double asFloat() const;
    bool asBoolean() const;
    QDateTime asDateTime() const;
    QByteArray asBytes() const;
    void setValue(const QVariant& v) const;
    void clear() const;

private:
    Dataset* m_ds;
    int m_index;
};

// A query dataset, ADO client-cursor style: open fetches the whole result, the dataset
// keeps a current row and edits it in place, writing each post back to its base table.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Dataset(Connection* connection = nullptr, const QString& name = {}, QObject* parent = nullptr);
    ~Dataset() override;

    void setConnection(Connection* c) { m_connection = c; }
    Connection* connection() const { return m_connection; }
    QString name() const { return objectName(); }

    // Statement; lines are joined with a line break. Parameters keep their values when the
    // text is replaced, as long as the names stay.
    void setSql(const QString& sql);
    void setSql(const QStringList& lines) { setSql(lines.join(u'\n')); }
    QString sql() const { return m_sql; }
    QStringList paramNames() const { return m_paramNames; }
    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;

    // A fixed field list: only these columns are reachable, with these types and widths.
    // Without one, the fields are the result's columns.
    void setFields(const FieldList& fields);
    const FieldList& fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    int fieldIndex(const QString& name) const;
    Field field(const QString& name);
    Field field(int index) { return Field(this, index); }

    // Table and key that posts and deletes write to.
    void setBaseTable(const QString& table, const QString& keyField);
    QString baseTable() const { return m_baseTable; }

    // Sets the calculated fields of the row being computed, through setCalcValue.
    void setOnCalcFields(std::function<void(Dataset&)> f) { m_onCalc = std::move(f); }
    // Runs before every open (and refresh), e.g. to load name look-ups once per open.
    void setBeforeOpen(std::function<void(Dataset&)> f) { m_beforeOpen = std::move(f); }
    void setCalcValue(const QString& name, const QVariant& v);

    void open();
    void close();
    void refresh(); // reopen, keeping the current key when it is still there
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int row() const { return m_current; } // 0-based; -1 on an empty dataset
    int recNo() const { return m_current + 1; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);
    bool locate(const QString& field, const QVariant& value);

    QVariant value(const QString& name) const;
    QVariant value(int index) const;
    void setValue(const QString& name, const QVariant& value);
    void setValue(int index, const QVariant& value);

    void append();
    void edit();
    void post();
    void cancel();
    void deleteRow();

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // Fetched value of any row, converted to its field's type (grids read through this).
    QVariant valueAt(int row, int index) const;

signals:
    void stateChanged();
    void rowChanged();            // the current row moved or its values were replaced
    void fieldChanged(int index); // a value of the current row changed while editing
    void dataReset();             // opened, closed, refreshed or rows added/removed

private:
    friend class Field;
    using Row = QVector<QVariant>;

    const Row* readRow() const;
    void checkActive(const char* what) const;
    void checkBrowse();
    void checkEditing(const char* what) const;
    void computeRow(Row& row);
    // defineFields: without a fixed list, take the field list from the result's columns
    void fetchInto(QVector<Row>& rows, const QString& sql, const QVariantList& params, bool defineFields);
    QVariantList boundParams() const;
    void reloadRow(Row& row, const QVariant& key);
    int keyIndex() const;
    void moved();
    void reset();
    QVariant normalized(int index, const QVariant& v) const;

    Connection* m_connection;
    QString m_sql;
    QStringList m_paramNames;
    QHash<QString, QVariant> m_params;
    FieldList m_fields;
    bool m_fixedFields = false;
    QHash<QString, int> m_fieldIndex;
    QString m_baseTable;
    QString m_keyField;
    std::function<void(Dataset&)> m_onCalc;
    std::function<void(Dataset&)> m_beforeOpen;

    QVector<Row> m_rows;
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    State m_state = State::Inactive;
    Row m_buffer;            // the row being edited or inserted
    QVector<bool> m_changed; // fields assigned in the buffer
    Row* m_calcRow = nullptr;
    int m_disableCount = 0;
    bool m_pendingReset = false;
};

} // namespace db
