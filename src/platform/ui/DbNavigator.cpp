#include "platform/ui/DbNavigator.h"

#include "platform/db/Dataset.h"
#include "platform/ui/ErrorDisplay.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace ui {

DbNavigator::DbNavigator(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    const struct {
        Move move;
        QStyle::StandardPixmap icon;
        const char* hint;
    } moves[] = {
        {First, QStyle::SP_MediaSkipBackward, "İlk kayıt"},
        {Prior, QStyle::SP_MediaSeekBackward, "Önceki kayıt"},
        {Next, QStyle::SP_MediaSeekForward, "Sonraki kayıt"},
        {Last, QStyle::SP_MediaSkipForward, "Son kayıt"},
    };
    for (const auto& m : moves) {
        auto* b = new QToolButton(this);
        b->setIcon(style()->standardIcon(m.icon));
        b->setToolTip(QString::fromUtf8(m.hint));
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, move = m.move] { this->move(move); });
        layout->addWidget(b);
        m_buttons[m.move] = b;
    }
    updateButtons();
}

void DbNavigator::setDataset(db::Dataset* dataset) {
    if (m_dataset) disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (m_dataset) {
        connect(m_dataset, &db::Dataset::rowChanged, this, &DbNavigator::updateButtons);
        connect(m_dataset, &db::Dataset::dataReset, this, &DbNavigator::updateButtons);
    }
    updateButtons();
}

void DbNavigator::move(Move move) {
    if (!m_dataset || !m_dataset->active()) return;
    db::Dataset* ds = m_dataset;
    // a move posts a pending edit first, which can fail
    runCommand([&] {
        switch (move) {
        case First:
            ds->first();
            break;
        case Prior:
            ds->prior();
            break;
        case Next:
            ds->next();
            break;
        case Last:
            ds->last();
            break;
        }
    });
    updateButtons();
}

void DbNavigator::updateButtons() {
    const bool active = m_dataset && m_dataset->active() && !m_dataset->isEmpty();
    const int row = active ? m_dataset->row() : -1;
    const int last = active ? m_dataset->recordCount() - 1 : -1;
    m_buttons[First]->setEnabled(active && row > 0);
    m_buttons[Prior]->setEnabled(active && row > 0);
    m_buttons[Next]->setEnabled(active && row < last);
    m_buttons[Last]->setEnabled(active && row < last);
}

} // namespace ui
