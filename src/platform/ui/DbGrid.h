#pragma once

#include <QAbstractTableModel>
#include <QKeyCombination>
#include <QList>
#include <QPointer>
#include <QTableView>

namespace db {
class Dataset;
}

namespace ui {

// One column of a read-only grid: the field shown, its title, width in pixels (-1 keeps the
// view's default) and alignment (none: numbers right, the rest left).
struct DbGridColumn {
    QString field;
    QString title;
    int width = -1;
    Qt::Alignment alignment = {};
};

// The rows of a dataset as a table model. It reads every cell through valueAt, so the rows
// are never copied and a view asks only for the cells it paints.
class DbGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DbGridModel(QObject* parent = nullptr);

    void setDataset(db::Dataset* dataset);
    db::Dataset* dataset() const { return m_dataset; }
    void setColumns(const QList<DbGridColumn>& columns);
    const QList<DbGridColumn>& columns() const { return m_columns; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text a cell shows for a value of the given column.
    QString displayText(int column, const QVariant& value) const;

private:
    void resolveFields();
    void currentRowValuesChanged();

    QPointer<db::Dataset> m_dataset;
    QList<DbGridColumn> m_columns;
    QList<int> m_fieldIndex; // per column; -1 when the dataset lacks the field
};

// A read-only grid over a dataset, whole-row selection, its current row kept in step with
// the dataset's current row both ways.
class DbGrid : public QTableView {
    Q_OBJECT
public:
    explicit DbGrid(QWidget* parent = nullptr);

    void setDataset(db::Dataset* dataset);
    db::Dataset* dataset() const { return m_model->dataset(); }
    void setColumns(const QList<DbGridColumn>& columns);
    DbGridModel* gridModel() const { return m_model; }

signals:
    void rowDoubleClicked(int row);
    // A key the grid does not use for moving, pressed while it has the focus.
    void keyCommand(QKeyCombination key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void applyWidths();
    void followDataset();
    void currentChangedByView(const QModelIndex& current);

    DbGridModel* m_model;
    bool m_syncing = false;
};

} // namespace ui
