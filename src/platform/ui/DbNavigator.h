#pragma once

#include <QPointer>
#include <QWidget>

class QToolButton;

namespace db {
class Dataset;
}

namespace ui {

// The four moves over a dataset: first, prior, next, last. A move that cannot go anywhere
// is disabled.
class DbNavigator : public QWidget {
    Q_OBJECT
public:
    enum Move { First, Prior, Next, Last };

    explicit DbNavigator(QWidget* parent = nullptr);

    void setDataset(db::Dataset* dataset);
    db::Dataset* dataset() const { return m_dataset; }
    QToolButton* button(Move move) const { return m_buttons[move]; }
    void move(Move move);

private:
    void updateButtons();

    QPointer<db::Dataset> m_dataset;
    QToolButton* m_buttons[4] = {};
};

} // namespace ui
