#include "platform/db/Dataset.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Dialect.h"
#include "platform/db/SqlText.h"

#include <QSqlField>
#include <QSqlRecord>
#include <cmath>

namespace db {

namespace {

FieldType typeOfColumn(const QSqlField& f) {
    switch (f.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return FieldType::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return FieldType::LargeInt;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldType::Decimal;
    case QMetaType::Bool:
        return FieldType::Boolean;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return FieldType::DateTime;
    case QMetaType::QByteArray:
        return FieldType::Blob;
    default:
        return FieldType::Text;
    }
}

// Qt 6 calls a variant holding an invalid date or a null string "not null"; to the
// database they are null.
bool isNullValue(const QVariant& v) {
    if (v.isNull()) return true;
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return !v.toDateTime().isValid();
    case QMetaType::QDate:
        return !v.toDate().isValid();
    case QMetaType::QString:
        return v.toString().isNull();
    default:
        return false;
    }
}

QVariant convert(const FieldDef& f, const QVariant& raw) {
    if (isNullValue(raw)) return {};
    switch (f.type) {
    case FieldType::Integer:
        return raw.toInt();
    case FieldType::LargeInt:
        return raw.toLongLong();
    case FieldType::Decimal:
        return raw.toDouble();
    case FieldType::Boolean:
        if (raw.typeId() == QMetaType::QString) {
            const QString s = raw.toString().trimmed();
            return !(s.isEmpty() || s == u'0' || s.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0);
        }
        return raw.toBool();
    case FieldType::DateTime:
        if (raw.typeId() == QMetaType::QDateTime)
            return raw;
        if (raw.typeId() == QMetaType::QDate)
            return QDateTime(raw.toDate(), QTime(0, 0));
        if (raw.typeId() == QMetaType::QString) {
            const QDateTime dt = parseDateTimeText(raw.toString());
            return dt.isValid() ? QVariant(dt) : QVariant();
        }
        return raw.toDateTime();
    case FieldType::Blob:
        return raw.toByteArray();
    case FieldType::Text:
        return raw.toString();
    }
    return raw;
}

} // namespace

// ---- Field

const FieldDef& Field::def() const {
    return m_ds->m_fields.at(m_index);
}
QVariant Field::value() const {
    return m_ds->value(m_index);
}
bool Field::isNull() const {
    return value().isNull();
}
QString Field::asString() const {
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    return v.toString();
}
int Field::asInteger() const {
    return value().toInt();
}
qint64 Field::asLargeInt() const {
    return value().toLongLong();
}
double Field::asFloat() const {
    return value().toDouble();
}
bool Field::asBoolean() const {
    return value().toBool();
}
QDateTime Field::asDateTime() const {
    return convert(FieldDef::dateTime(QString()), value()).toDateTime();
}
QByteArray Field::asBytes() const {
    return value().toByteArray();
}
void Field::setValue(const QVariant& v) const {
    m_ds->setValue(m_index, v);
}
void Field::clear() const {
    m_ds->setValue(m_index, QVariant());
}

// ---- Dataset

Dataset::Dataset(Connection* connection, const QString& name, QObject* parent)
    : QObject(parent), m_connection(connection) {
    setObjectName(name);
}

Dataset::~Dataset() = default;

void Dataset::setSql(const QString& sql) {
    if (active())
        close();
    m_sql = sql;
    m_paramNames = parseParameters(sql).params;
}

void Dataset::setParam(const QString& name, const QVariant& value) {
    bool known = false;
    for (const auto& n : m_paramNames)
        known = known || n.compare(name, Qt::CaseInsensitive) == 0;
    if (!known)
        throw DbError(QStringLiteral("%1: parametre bulunamadı: %2").arg(objectName(), name), m_sql);
    m_params.insert(name.toUpper(), value);
}

QVariant Dataset::param(const QString& name) const {
    return m_params.value(name.toUpper());
}

QVariantList Dataset::boundParams() const {
    QVariantList out;
    for (const auto& n : m_paramNames)
        out << m_params.value(n.toUpper());
    return out;
}

void Dataset::setFields(const FieldList& fields) {
    if (active())
        close();
    m_fields = fields;
    m_fixedFields = true;
    m_fieldIndex.clear();
    for (int i = 0; i < m_fields.size(); ++i)
        m_fieldIndex.insert(m_fields[i].name.toUpper(), i);
}

int Dataset::fieldIndex(const QString& name) const {
    // names are kept in upper case and nearly always asked for that way
    const auto it = m_fieldIndex.constFind(name);
    if (it != m_fieldIndex.constEnd())
        return *it;
    return m_fieldIndex.value(name.toUpper(), -1);
}

Field Dataset::field(const QString& name) {
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: alan bulunamadı: %2").arg(objectName(), name));
    return Field(this, i);
}

void Dataset::setBaseTable(const QString& table, const QString& keyField) {
    m_baseTable = table;
    m_keyField = keyField;
}

int Dataset::keyIndex() const {
    return fieldIndex(m_keyField);
}

void Dataset::setCalcValue(const QString& name, const QVariant& v) {
    if (!m_calcRow)
        throw DbError(QStringLiteral("%1: hesaplanan alan yalnızca hesaplama sırasında yazılabilir: %2")
                          .arg(objectName(), name));
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: alan bulunamadı: %2").arg(objectName(), name));
    // a calculation that wrote a data field would change the row behind the user's back
    if (!m_fields[i].calculated)
        throw DbError(QStringLiteral("%1: %2 hesaplanan bir alan değil").arg(objectName(), name));
    (*m_calcRow)[i] = v;
}

void Dataset::computeRow(Row& row) {
    if (!m_onCalc)
        return;
    Row* saved = m_calcRow;
    m_calcRow = &row;
    try {
        m_onCalc(*this);
    } catch (...) {
        m_calcRow = saved;
        throw;
    }
    m_calcRow = saved;
}

void Dataset::fetchInto(QVector<Row>& rows, const QString& sql, const QVariantList& params,
                        bool defineFields) {
    if (!m_connection)
        throw DbError(QStringLiteral("%1: bağlantı yok").arg(objectName()), sql);
    QSqlQuery q = m_connection->run(sql, params, true);
    const QSqlRecord rec = q.record();
    if (defineFields && !m_fixedFields) {
        m_fields.clear();
        m_fieldIndex.clear();
        for (int c = 0; c < rec.count(); ++c) {
            FieldDef f;
            f.name = rec.fieldName(c);
            f.type = typeOfColumn(rec.field(c));
            f.width = 0;
            m_fields << f;
            m_fieldIndex.insert(f.name.toUpper(), c);
        }
    }
    const int nf = int(m_fields.size());
    QVector<QPair<int, int>> map; // field -> column
    for (int i = 0; i < nf; ++i) {
        if (m_fields[i].calculated)
            continue;
        const int col = rec.indexOf(m_fields[i].name);
        if (col >= 0)
            map.append({i, col});
    }
    while (q.next()) {
        Row r(nf);
        for (const auto& [f, col] : map)
            r[f] = q.value(col);
        computeRow(r);
        rows.append(std::move(r));
    }
}

void Dataset::open() {
    if (active())
        close();
    if (m_beforeOpen)
        m_beforeOpen(*this);
    QVector<Row> rows;
    fetchInto(rows, m_sql, boundParams(), true);
    m_rows = std::move(rows);
    m_state = State::Browse;
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    reset();
}

void Dataset::close() {
    if (m_state == State::Inactive)
        return;
    m_rows.clear();
    m_buffer.clear();
    m_changed.clear();
    m_current = -1;
    m_bof = m_eof = true;
    m_state = State::Inactive;
    if (!m_fixedFields) {
        m_fields.clear();
        m_fieldIndex.clear();
    }
    reset();
}

void Dataset::refresh() {
    checkActive("refresh");
    checkBrowse();
    const int k = keyIndex();
    const QVariant key = (k >= 0 && m_current >= 0) ? m_rows[m_current][k] : QVariant();
    const int oldRow = m_current;
    open();
    if (!key.isNull() && !locate(m_keyField, convert(m_fields[k], key)) && !m_rows.isEmpty())
        moveTo(qMin(oldRow, recordCount() - 1));
}

void Dataset::reset() {
    if (m_disableCount > 0) {
        m_pendingReset = true;
        return;
    }
    emit dataReset();
    emit stateChanged();
    emit rowChanged();
}

void Dataset::moved() {
    if (m_disableCount > 0) {
        m_pendingReset = true;
        return;
    }
    emit rowChanged();
}

void Dataset::disableControls() {
    ++m_disableCount;
}

void Dataset::enableControls() {
    if (m_disableCount > 0 && --m_disableCount == 0 && m_pendingReset) {
        m_pendingReset = false;
        reset();
    }
}

void Dataset::checkActive(const char* what) const {
    if (!active())
        throw DbError(QStringLiteral("%1: veri kümesi kapalı (%2)").arg(objectName(), QLatin1String(what)));
}

void Dataset::checkBrowse() {
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void Dataset::checkEditing(const char* what) const {
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(QStringLiteral("%1: veri kümesi düzenleme durumunda değil (%2)")
                          .arg(objectName(), QLatin1String(what)));
}

void Dataset::first() {
    checkActive("first");
    checkBrowse();
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    moved();
}

void Dataset::last() {
    checkActive("last");
    checkBrowse();
    m_current = int(m_rows.size()) - 1;
    m_eof = true;
    m_bof = m_rows.isEmpty();
    moved();
}

// As in Delphi: a move leaves both flags clear unless it hit the edge it went for, so
// bof and eof are only both set on an empty dataset.
void Dataset::next() {
    checkActive("next");
    checkBrowse();
    if (m_eof) return;
    m_bof = false;
    if (m_current + 1 < m_rows.size()) {
        ++m_current;
        moved();
    } else {
        m_eof = true;
    }
}

void Dataset::prior() {
    checkActive("prior");
    checkBrowse();
    if (m_bof) return;
    m_eof = false;
    if (m_current > 0) {
        --m_current;
        moved();
    } else {
        m_bof = true;
    }
}

void Dataset::moveTo(int row) {
    checkActive("moveTo");
    checkBrowse();
    if (row < 0 || row >= m_rows.size())
        return;
    m_current = row;
    m_bof = m_eof = false;
    moved();
}

bool Dataset::locate(const QString& name, const QVariant& v) {
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: alan bulunamadı: %2").arg(objectName(), name));
    for (int r = 0; r < m_rows.size(); ++r)
        if (convert(m_fields[i], m_rows[r][i]) == v) {
            moveTo(r);
            return true;
        }
    return false;
}

const Dataset::Row* Dataset::readRow() const {
    if (m_calcRow)
        return m_calcRow;
    if (m_state == State::Edit || m_state == State::Insert)
        return &m_buffer;
    if (m_current >= 0 && m_current < m_rows.size())
        return &m_rows[m_current];
    return nullptr;
}

QVariant Dataset::value(int index) const {
    if (index < 0 || index >= m_fields.size())
        throw DbError(QStringLiteral("%1: alan numarası geçersiz: %2").arg(objectName()).arg(index));
    const Row* r = readRow();
    return r ? convert(m_fields[index], r->at(index)) : QVariant();
}

QVariant Dataset::value(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: alan bulunamadı: %2").arg(objectName(), name));
    return value(i);
}

QVariant Dataset::valueAt(int row, int index) const {
    if (row < 0 || row >= m_rows.size() || index < 0 || index >= m_fields.size())
        return {};
    if (row == m_current && m_state == State::Edit) return convert(m_fields[index], m_buffer[index]);
    return convert(m_fields[index], m_rows[row][index]);
}

QVariant Dataset::normalized(int index, const QVariant& v) const {
    const FieldDef& f = m_fields[index];
    if (isNullValue(v)) return {};
    // a cleared edit gives blank text: for any other type of field that means null
    if (f.type != FieldType::Text && v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty())
        return {};
    switch (f.type) {
    case FieldType::Text: {
        const QString s = v.typeId() == QMetaType::QDateTime ? v.toDateTime().toString(Qt::ISODate) : v.toString();
        if (f.width > 0 && s.size() > f.width)
            throw DbError(QStringLiteral("%1 alanı en fazla %2 karakter alabilir; girilen metin %3 karakter.")
                              .arg(f.name)
                              .arg(f.width)
                              .arg(s.size()));
        return s;
    }
    case FieldType::Integer: {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!ok || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
            throw DbError(QStringLiteral("%1 alanı için geçersiz tam sayı: %2").arg(f.name, v.toString()));
        return int(n);
    }
    case FieldType::LargeInt: {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!ok)
            throw DbError(QStringLiteral("%1 alanı için geçersiz tam sayı: %2").arg(f.name, v.toString()));
        return n;
    }
    case FieldType::Decimal: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw DbError(QStringLiteral("%1 alanı için geçersiz sayı: %2").arg(f.name, v.toString()));
        return std::round(d * 100.0) / 100.0; // numeric(18,2)
    }
    case FieldType::Boolean:
        return v.toBool();
    case FieldType::DateTime: {
        const QVariant dt = convert(f, v);
        if (dt.isNull())
            throw DbError(QStringLiteral("%1 alanı için geçersiz tarih: %2").arg(f.name, v.toString()));
        return dt;
    }
    case FieldType::Blob:
        return v.toByteArray();
    }
    return v;
}

void Dataset::setValue(const QString& name, const QVariant& v) {
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: alan bulunamadı: %2").arg(objectName(), name));
    setValue(i, v);
}

void Dataset::setValue(int index, const QVariant& v) {
    checkEditing("setValue");
    if (index < 0 || index >= m_fields.size())
        throw DbError(QStringLiteral("%1: alan numarası geçersiz: %2").arg(objectName()).arg(index));
    const FieldDef& f = m_fields[index];
    if (f.readOnly || f.calculated)
        throw DbError(QStringLiteral("%1 alanı değiştirilemez.").arg(f.name));
    m_buffer[index] = normalized(index, v);
    m_changed[index] = true;
    computeRow(m_buffer);
    if (m_disableCount > 0)
        m_pendingReset = true;
    else
        emit fieldChanged(index);
}

void Dataset::append() {
    checkActive("append");
    checkBrowse();
    m_buffer = Row(m_fields.size());
    m_changed = QVector<bool>(m_fields.size(), false);
    m_state = State::Insert;
    computeRow(m_buffer);
    reset();
}

void Dataset::edit() {
    checkActive("edit");
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_current < 0)
        throw DbError(QStringLiteral("%1: düzenlenecek kayıt yok").arg(objectName()));
    m_buffer = m_rows[m_current];
    m_changed = QVector<bool>(m_fields.size(), false);
    m_state = State::Edit;
    if (m_disableCount > 0)
        m_pendingReset = true;
    else
        emit stateChanged();
}

void Dataset::cancel() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_buffer.clear();
    m_changed.clear();
    m_state = State::Browse;
    reset();
}

void Dataset::reloadRow(Row& row, const QVariant& key) {
    QVector<Row> fresh;
    fetchInto(fresh,
              QStringLiteral("SELECT * FROM ") + m_baseTable + QStringLiteral(" WHERE ") + m_keyField +
                  QStringLiteral(" = :KEY"),
              {key}, false);
    if (!fresh.isEmpty()) {
        Row& r = fresh.first();
        // columns that the table lacks keep what the row had
        for (int i = 0; i < r.size(); ++i)
            if (!m_fields[i].calculated && !r[i].isValid())
                r[i] = row[i];
        computeRow(r);
        row = r;
    }
}

void Dataset::post() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (m_baseTable.isEmpty() || keyIndex() < 0)
        throw DbError(QStringLiteral("%1: yazılacak tablo tanımlı değil").arg(objectName()));
    const Dialect& dialect = m_connection->dialect();
    const int k = keyIndex();
    if (m_state == State::Insert) {
        QStringList cols, marks;
        QVariantList values;
        for (int i = 0; i < m_fields.size(); ++i) {
            const FieldDef& f = m_fields[i];
            if (!m_changed[i] || f.calculated || f.identity)
                continue;
            cols << f.name;
            marks << QStringLiteral(":P%1").arg(i);
            values << m_buffer[i];
        }
        const QString sql = cols.isEmpty()
                                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_baseTable)
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(m_baseTable, cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        m_connection->execute(sql, values);
        QVariant key = m_buffer[k];
        if (!m_changed[k]) { // the server numbered the row
            QSqlQuery idq = m_connection->run(dialect.identityQuery(), {});
            key = idq.next() ? idq.value(0) : QVariant();
        }
        if (key.isNull())
            throw DbError(QStringLiteral("%1: yeni kaydın numarası okunamadı").arg(m_baseTable), sql);
        m_buffer[k] = key;
        reloadRow(m_buffer, key);
        m_rows.append(m_buffer);
        m_current = int(m_rows.size()) - 1;
    } else {
        QStringList sets, where;
        QVariantList values, criteria;
        const Row& original = m_rows[m_current];
        for (int i = 0; i < m_fields.size(); ++i) {
            const FieldDef& f = m_fields[i];
            if (!m_changed[i] || f.calculated || f.identity)
                continue;
            sets << QStringLiteral("%1 = :S%2").arg(f.name).arg(i);
            values << m_buffer[i];
            // only while the stored values are still the ones read
            if (f.type == FieldType::Blob)
                continue;
            if (original[i].isNull()) {
                where << QStringLiteral("%1 IS NULL").arg(f.name);
            } else {
                where << QStringLiteral("%1 = :W%2").arg(f.name).arg(i);
                criteria << original[i];
            }
        }
        if (!sets.isEmpty()) {
            const QVariant key = original[k];
            QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = :KEY")
                              .arg(m_baseTable, sets.join(QStringLiteral(", ")), m_keyField);
            for (const auto& w : where)
                sql += QStringLiteral(" AND ") + w;
            const int affected = m_connection->execute(sql, values + QVariantList{key} + criteria);
            if (affected == 0)
                throw DbError(QStringLiteral("Kayıt, okunduktan sonra başka bir kullanıcı tarafından değiştirilmiş "
                                             "ya da silinmiş. Değişiklik kaydedilmedi; kaydı yeniden okuyup tekrar "
                                             "deneyiniz. (%1, %2 = %3)")
                                  .arg(m_baseTable, m_keyField, key.toString()),
                              sql);
            reloadRow(m_buffer, key);
        }
        m_rows[m_current] = m_buffer;
    }
    m_bof = m_eof = false;
    m_buffer.clear();
    m_changed.clear();
    m_state = State::Browse;
    reset();
}

void Dataset::deleteRow() {
    checkActive("delete");
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (m_current < 0)
        throw DbError(QStringLiteral("%1: silinecek kayıt yok").arg(objectName()));
    if (m_baseTable.isEmpty() || keyIndex() < 0)
        throw DbError(QStringLiteral("%1: silinecek tablo tanımlı değil").arg(objectName()));
    const QVariant key = m_rows[m_current][keyIndex()];
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2 = :KEY").arg(m_baseTable, m_keyField);
    if (m_connection->execute(sql, {key}) == 0)
        throw DbError(QStringLiteral("Kayıt bulunamadı; başka bir kullanıcı tarafından silinmiş olabilir. (%1, %2 = %3)")
                          .arg(m_baseTable, m_keyField, key.toString()),
                      sql);
    m_rows.removeAt(m_current);
    if (m_current >= m_rows.size())
        m_current = int(m_rows.size()) - 1;
    m_bof = m_current <= 0;
    m_eof = m_rows.isEmpty();
    reset();
}

} // namespace db
