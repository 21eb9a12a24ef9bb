#pragma once

#include <QList>
#include <QString>

namespace db {

enum class FieldType { Integer, LargeInt, Text, DateTime, Decimal, Boolean, Blob };

// One field of a dataset's fixed field list.
struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int width = 0; // text fields: most characters the field holds
    bool readOnly = false;
    bool calculated = false;
    bool identity = false;

    static FieldDef identityField(const QString& n) { return {n, FieldType::Integer, 0, true, false, true}; }
    static FieldDef integer(const QString& n) { return {n, FieldType::Integer, 0, false, false, false}; }
    static FieldDef largeInt(const QString& n) { return {n, FieldType::LargeInt, 0, false, false, false}; }
    static FieldDef text(const QString& n, int w = 20) { return {n, FieldType::Text, w, false, false, false}; }
    static FieldDef dateTime(const QString& n) { return {n, FieldType::DateTime, 0, false, false, false}; }
    static FieldDef decimal(const QString& n) { return {n, FieldType::Decimal, 0, false, false, false}; }
    static FieldDef boolean(const QString& n) { return {n, FieldType::Boolean, 0, false, false, false}; }
    static FieldDef blob(const QString& n) { return {n, FieldType::Blob, 0, false, false, false}; }
    static FieldDef calcText(const QString& n, int w) { return {n, FieldType::Text, w, true, true, false}; }
};

using FieldList = QList<FieldDef>;

} // namespace db
