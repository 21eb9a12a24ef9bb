#include "platform/ui/DbControls.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/Messages.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QLocale>
#include <QRadioButton>

namespace ui {

namespace {

const db::FieldDef* fieldDef(const FieldLink& link) {
    const int i = link.fieldIndex();
    return i < 0 ? nullptr : &link.dataset()->fields().at(i);
}

QString fieldText(const db::FieldDef* f, const QVariant& v) {
    if (!f || v.isNull()) return {};
    switch (f->type) {
    case db::FieldType::DateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("dd.MM.yyyy"))
                                        : dt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    }
    case db::FieldType::Decimal:
        return QLocale().toString(v.toDouble(), 'f', 2);
    default:
        return v.toString();
    }
}

} // namespace

// ---- FieldLink

FieldLink::FieldLink(std::function<void()> show) : m_show(std::move(show)) {}

void FieldLink::bind(db::Dataset* dataset, const QString& field) {
    if (m_dataset) disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    m_field = field;
    if (m_dataset) {
        connect(m_dataset, &db::Dataset::rowChanged, this, &FieldLink::showUnlessWriting);
        connect(m_dataset, &db::Dataset::dataReset, this, &FieldLink::showUnlessWriting);
        connect(m_dataset, &db::Dataset::stateChanged, this, &FieldLink::showUnlessWriting);
        connect(m_dataset, &db::Dataset::fieldChanged, this, &FieldLink::showUnlessWriting);
    }
    m_show();
}

int FieldLink::fieldIndex() const {
    return m_dataset ? m_dataset->fieldIndex(m_field) : -1;
}

QVariant FieldLink::value() const {
    const int i = fieldIndex();
    if (i < 0 || !m_dataset->active()) return {};
    return m_dataset->value(i);
}

bool FieldLink::modifiable() const {
    const int i = fieldIndex();
    if (i < 0 || !m_dataset->active()) return false;
    const db::FieldDef& f = m_dataset->fields().at(i);
    if (f.readOnly || f.calculated) return false;
    return m_dataset->state() != db::Dataset::State::Browse || m_dataset->row() >= 0;
}

bool FieldLink::write(const QVariant& value) {
    if (!modifiable()) {
        m_show();
        return false;
    }
    m_writing = true;
    try {
        if (m_dataset->state() == db::Dataset::State::Browse) m_dataset->edit();
        m_dataset->setValue(fieldIndex(), value);
    } catch (const db::DbError& e) {
        m_writing = false;
        ShowMessage(e.message());
        m_show();
        return false;
    }
    m_writing = false;
    return true;
}

void FieldLink::showUnlessWriting() {
    if (!m_writing) m_show();
}

// ---- DbEdit

DbEdit::DbEdit(QWidget* parent) : QLineEdit(parent), m_link([this] { showValue(); }) {
    connect(this, &QLineEdit::textEdited, this, [this] { userEdited(false); });
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (m_pending) userEdited(true);
    });
    setReadOnly(true);
}

DbEdit::DbEdit(db::Dataset* dataset, const QString& field, QWidget* parent) : DbEdit(parent) {
    bind(dataset, field);
}

void DbEdit::bind(db::Dataset* dataset, const QString& field) {
    m_link.bind(dataset, field);
}

void DbEdit::showValue() {
    const db::FieldDef* f = fieldDef(m_link);
    setMaxLength(f && f->type == db::FieldType::Text && f->width > 0 ? f->width : 32767);
    setReadOnly(!m_link.modifiable());
    m_pending = false;
    const QString text = fieldText(f, m_link.value());
    if (text != this->text()) setText(text);
}

QVariant DbEdit::typedValue(bool& complete) const {
    const QString t = text();
    complete = true;
    const db::FieldDef* f = fieldDef(m_link);
    if (!f || t.isEmpty()) return {};
    // text is kept as typed, blanks included; other kinds read blanks as empty
    if (f->type == db::FieldType::Text) return t;
    if (t.trimmed().isEmpty()) return {};
    switch (f->type) {
    case db::FieldType::Integer:
    case db::FieldType::LargeInt: {
        bool ok = false;
        const qlonglong n = t.trimmed().toLongLong(&ok);
        complete = ok;
        return ok ? QVariant(n) : QVariant(t);
    }
    case db::FieldType::Decimal: {
        bool ok = false;
        double d = QLocale().toDouble(t.trimmed(), &ok);
        if (!ok) d = QLocale::c().toDouble(t.trimmed(), &ok);
        complete = ok;
        return ok ? QVariant(d) : QVariant(t);
    }
    case db::FieldType::DateTime: {
        for (const char* format : {"dd.MM.yyyy HH:mm:ss", "dd.MM.yyyy HH:mm", "dd.MM.yyyy"}) {
            const QDateTime dt = QDateTime::fromString(t.trimmed(), QLatin1String(format));
            if (dt.isValid()) return dt;
        }
        complete = false;
        return t;
    }
    default:
        return t;
    }
}

void DbEdit::userEdited(bool finished) {
    bool complete = false;
    const QVariant v = typedValue(complete);
    if (!complete && !finished) {
        m_pending = true; // half-typed number or date: wait for more
        return;
    }
    m_pending = false;
    m_link.write(v);
}

// ---- DbMemo

DbMemo::DbMemo(QWidget* parent) : QPlainTextEdit(parent), m_link([this] { showValue(); }) {
    connect(this, &QPlainTextEdit::textChanged, this, &DbMemo::userEdited);
    setReadOnly(true);
}

DbMemo::DbMemo(db::Dataset* dataset, const QString& field, QWidget* parent) : DbMemo(parent) {
    bind(dataset, field);
}

void DbMemo::bind(db::Dataset* dataset, const QString& field) {
    m_link.bind(dataset, field);
}

void DbMemo::showValue() {
    setReadOnly(!m_link.modifiable());
    const QString text = m_link.value().toString();
    if (text == toPlainText()) return;
    m_showing = true;
    setPlainText(text);
    moveCursor(QTextCursor::End);
    m_showing = false;
}

void DbMemo::userEdited() {
    if (m_showing) return;
    const QString t = toPlainText();
    m_link.write(t.isEmpty() ? QVariant() : QVariant(t));
}

// ---- DbCheckBox

DbCheckBox::DbCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent), m_link([this] { showValue(); }) {
    connect(this, &QCheckBox::clicked, this, &DbCheckBox::userClicked);
}

void DbCheckBox::bind(db::Dataset* dataset, const QString& field, const QVariant& checkedValue,
                      const QVariant& uncheckedValue) {
    m_checkedValue = checkedValue;
    m_uncheckedValue = uncheckedValue;
    m_link.bind(dataset, field);
}

void DbCheckBox::showValue() {
    const QVariant v = m_link.value();
    setChecked(!v.isNull() && v == m_checkedValue);
}

void DbCheckBox::userClicked(bool checked) {
    m_link.write(checked ? m_checkedValue : m_uncheckedValue);
}

// ---- RadioGroup

RadioGroup::RadioGroup(const QString& title, const QStringList& items, QWidget* parent,
                       Qt::Orientation orientation)
    : QGroupBox(title, parent), m_group(new QButtonGroup(this)) {
    auto* layout =
        new QBoxLayout(orientation == Qt::Vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(2);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        m_group->addButton(b, i);
        layout->addWidget(b);
    }
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (id == m_index) return;
        m_index = id;
        emit chosen(id);
    });
}

QRadioButton* RadioGroup::button(int index) const {
    return qobject_cast<QRadioButton*>(m_group->button(index));
}

int RadioGroup::count() const {
    return int(m_group->buttons().size());
}

void RadioGroup::setItemIndex(int index) {
    if (index < 0 || index >= count()) {
        m_group->setExclusive(false);
        for (auto* b : m_group->buttons())
            b->setChecked(false);
        m_group->setExclusive(true);
        m_index = -1;
        return;
    }
    m_group->button(index)->setChecked(true);
    m_index = index;
}

// ---- DbRadioGroup

DbRadioGroup::DbRadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : RadioGroup(title, items, parent), m_link([this] { showValue(); }) {
    connect(this, &RadioGroup::chosen, this, &DbRadioGroup::userChose);
}

void DbRadioGroup::bind(db::Dataset* dataset, const QString& field, const QVariantList& values) {
    m_values = values;
    if (m_values.isEmpty())
        for (int i = 0; i < count(); ++i)
            m_values << i;
    m_link.bind(dataset, field);
}

void DbRadioGroup::showValue() {
    const QVariant v = m_link.value();
    int index = -1;
    for (int i = 0; !v.isNull() && i < m_values.size(); ++i)
        if (v == m_values[i]) index = i;
    setItemIndex(index);
}

void DbRadioGroup::userChose(int index) {
    if (index >= 0 && index < m_values.size()) m_link.write(m_values[index]);
}

} // namespace ui
