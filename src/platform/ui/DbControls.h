#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVariant>
#include <functional>

class QButtonGroup;
class QRadioButton;

namespace db {
class Dataset;
}

namespace ui {

// The tie between one control and one field of a dataset's current row: it tells the
// control when to show the value again and writes the user's changes into the row.
class FieldLink : public QObject {
    Q_OBJECT
public:
    explicit FieldLink(std::function<void()> show);

    void bind(db::Dataset* dataset, const QString& field);
    db::Dataset* dataset() const { return m_dataset; }
    QString fieldName() const { return m_field; }
    int fieldIndex() const;
    QVariant value() const;  // the current row's value; null without one
    bool modifiable() const; // open, on a row, and a field the user may change
    // Puts the dataset into edit and sets the value. A refused value is shown to the user
    // and the control shows the row's value again; the result is then false.
    bool write(const QVariant& value);

private:
    void showUnlessWriting();

    std::function<void()> m_show;
    QPointer<db::Dataset> m_dataset;
    QString m_field;
    bool m_writing = false;
};

// A one-line edit of a field. Text is written as it is typed (empty text as null); a
// number or date is written once it reads as one, at the latest when the edit is left.
class DbEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DbEdit(QWidget* parent = nullptr);
    DbEdit(db::Dataset* dataset, const QString& field, QWidget* parent = nullptr);
    void bind(db::Dataset* dataset, const QString& field);
    FieldLink& link() { return m_link; }

private:
    void showValue();
    void userEdited(bool finished);
    QVariant typedValue(bool& complete) const;

    FieldLink m_link;
    bool m_pending = false; // typed text not yet written
};

// A multi-line edit of a text field, written as it is typed.
class DbMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DbMemo(QWidget* parent = nullptr);
    DbMemo(db::Dataset* dataset, const QString& field, QWidget* parent = nullptr);
    void bind(db::Dataset* dataset, const QString& field);
    FieldLink& link() { return m_link; }

private:
    void showValue();
    void userEdited();

    FieldLink m_link;
    bool m_showing = false;
};

// A check box over a field: checked when the field equals the checked value.
class DbCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit DbCheckBox(const QString& text, QWidget* parent = nullptr);
    void bind(db::Dataset* dataset, const QString& field, const QVariant& checkedValue = true,
              const QVariant& uncheckedValue = false);
    FieldLink& link() { return m_link; }

private:
    void showValue();
    void userClicked(bool checked);

    FieldLink m_link;
    QVariant m_checkedValue = true;
    QVariant m_uncheckedValue = false;
};

// A titled group of radio buttons, one chosen at a time. chosen is emitted only when the
// user picks another item.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr,
               Qt::Orientation orientation = Qt::Vertical);
    int itemIndex() const { return m_index; }
    void setItemIndex(int index); // -1: none
    QRadioButton* button(int index) const;
    int count() const;

signals:
    void chosen(int index);

private:
    QButtonGroup* m_group;
    int m_index = -1;
};

// A radio group over a field: item i stands for values[i] (by default the number i).
class DbRadioGroup : public RadioGroup {
    Q_OBJECT
public:
    DbRadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);
    void bind(db::Dataset* dataset, const QString& field, const QVariantList& values = {});
    FieldLink& link() { return m_link; }

private:
    void showValue();
    void userChose(int index);

    FieldLink m_link;
    QVariantList m_values;
};

} // namespace ui
