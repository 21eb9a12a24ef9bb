#include "platform/ui/DbGrid.h"

#include "platform/db/Dataset.h"
#include "platform/ui/ErrorDisplay.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>

namespace ui {

// ---- DbGridModel

DbGridModel::DbGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void DbGridModel::setDataset(db::Dataset* dataset) {
    beginResetModel();
    if (m_dataset) disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (m_dataset) {
        connect(m_dataset, &db::Dataset::dataReset, this, [this] {
            beginResetModel();
            resolveFields();
            endResetModel();
        });
        connect(m_dataset, &db::Dataset::fieldChanged, this, &DbGridModel::currentRowValuesChanged);
        connect(m_dataset, &db::Dataset::stateChanged, this, &DbGridModel::currentRowValuesChanged);
    }
    resolveFields();
    endResetModel();
}

void DbGridModel::setColumns(const QList<DbGridColumn>& columns) {
    beginResetModel();
    m_columns = columns;
    resolveFields();
    endResetModel();
}

void DbGridModel::resolveFields() {
    m_fieldIndex.clear();
    for (const auto& c : m_columns)
        m_fieldIndex << (m_dataset ? m_dataset->fieldIndex(c.field) : -1);
}

void DbGridModel::currentRowValuesChanged() {
    if (!m_dataset || m_dataset->row() < 0 || m_columns.isEmpty()) return;
    const int r = m_dataset->row();
    if (r < rowCount()) emit dataChanged(index(r, 0), index(r, int(m_columns.size()) - 1));
}

int DbGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_dataset || !m_dataset->active()) return 0;
    return m_dataset->recordCount();
}

int DbGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString DbGridModel::displayText(int column, const QVariant& value) const {
    if (value.isNull() || column < 0 || column >= m_fieldIndex.size() || m_fieldIndex[column] < 0) return {};
    switch (m_dataset->fields().at(m_fieldIndex[column]).type) {
    case db::FieldType::DateTime: {
        const QDateTime dt = value.toDateTime();
        // a date without a time of day shows as a date only
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("dd.MM.yyyy"))
                                        : dt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    }
    case db::FieldType::Decimal:
        return QLocale().toString(value.toDouble(), 'f', 2);
    case db::FieldType::Integer:
    case db::FieldType::LargeInt:
        return QString::number(value.toLongLong());
    case db::FieldType::Boolean:
    case db::FieldType::Blob:
        return {};
    case db::FieldType::Text:
        break;
    }
    return value.toString();
}

QVariant DbGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_dataset || index.column() >= m_fieldIndex.size()) return {};
    const int f = m_fieldIndex[index.column()];
    if (f < 0) return {};
    const db::FieldType type = m_dataset->fields().at(f).type;
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.column(), m_dataset->valueAt(index.row(), f));
    case Qt::CheckStateRole:
        if (type != db::FieldType::Boolean) return {};
        return m_dataset->valueAt(index.row(), f).toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole: {
        const Qt::Alignment a = m_columns[index.column()].alignment;
        if (a != Qt::Alignment()) return QVariant::fromValue(a | Qt::AlignVCenter);
        const bool number = type == db::FieldType::Integer || type == db::FieldType::LargeInt ||
                            type == db::FieldType::Decimal;
        return QVariant::fromValue((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant DbGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_columns.size())
        return m_columns[section].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

// ---- DbGrid

DbGrid::DbGrid(QWidget* parent) : QTableView(parent), m_model(new DbGridModel(this)) {
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setAlternatingRowColors(true);
    // fixed row heights let the view place any of many rows without measuring the others
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { currentChangedByView(current); });
    connect(m_model, &QAbstractItemModel::modelReset, this, &DbGrid::applyWidths);
}

void DbGrid::setDataset(db::Dataset* dataset) {
    if (m_model->dataset()) disconnect(m_model->dataset(), nullptr, this, nullptr);
    m_model->setDataset(dataset);
    if (dataset) connect(dataset, &db::Dataset::rowChanged, this, &DbGrid::followDataset);
    followDataset();
}

void DbGrid::setColumns(const QList<DbGridColumn>& columns) {
    m_model->setColumns(columns);
    applyWidths();
    followDataset();
}

void DbGrid::applyWidths() {
    const auto& cols = m_model->columns();
    for (int c = 0; c < cols.size(); ++c)
        if (cols[c].width > 0 && columnWidth(c) != cols[c].width) setColumnWidth(c, cols[c].width);
}

void DbGrid::followDataset() {
    const db::Dataset* ds = dataset();
    const int row = ds && ds->active() ? ds->row() : -1;
    if (row < 0 || row >= m_model->rowCount()) {
        m_syncing = true;
        selectionModel()->clear();
        m_syncing = false;
        return;
    }
    if (currentIndex().row() == row && selectionModel()->isRowSelected(row, {})) return;
    const int col = qMax(0, currentIndex().column());
    m_syncing = true;
    selectionModel()->setCurrentIndex(m_model->index(row, col),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_syncing = false;
    scrollTo(m_model->index(row, col));
}

void DbGrid::currentChangedByView(const QModelIndex& current) {
    db::Dataset* ds = dataset();
    if (m_syncing || !ds || !ds->active() || !current.isValid() || current.row() == ds->row()) return;
    // moving may post a pending edit, which can fail; the grid then stays on the dataset's row
    runCommand([&] { ds->moveTo(current.row()); });
    // after the view has finished its own selection of the refused row
    if (ds->row() != current.row())
        QMetaObject::invokeMethod(this, &DbGrid::followDataset, Qt::QueuedConnection);
}

void DbGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift: // a modifier alone commands nothing
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        break;
    default:
        emit keyCommand(event->keyCombination());
    }
    QTableView::keyPressEvent(event);
}

void DbGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() == Qt::LeftButton) emit rowDoubleClicked(index.row());
}

} // namespace ui
