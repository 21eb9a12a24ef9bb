#include "platform/ui/KeyCharFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace ui {

namespace {

class KeyCharFilter : public QObject {
    Q_OBJECT
public:
    KeyCharFilter(QLineEdit* edit, std::function<QChar(QChar)> filter)
        : QObject(edit), m_filter(std::move(filter)) {}

    void setFilter(std::function<QChar(QChar)> filter) { m_filter = std::move(filter); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_resending || event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        QString mapped = typed;
        for (QChar& c : mapped)
            if (c.isPrint()) // control characters of shortcuts (Ctrl+V ...) stay as they are
                c = m_filter(c);
        if (mapped == typed) return false;
        // A key event's text cannot be changed: the edit gets a copy carrying the new text.
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
                       key->nativeVirtualKey(), key->nativeModifiers(), mapped, key->isAutoRepeat(),
                       key->count(), key->device());
        m_resending = true;
        QCoreApplication::sendEvent(watched, &copy);
        m_resending = false;
        key->setAccepted(copy.isAccepted());
        return true;
    }

private:
    std::function<QChar(QChar)> m_filter;
    bool m_resending = false;
};

} // namespace

void setKeyCharFilter(QLineEdit* edit, std::function<QChar(QChar)> filter) {
    if (!edit) return;
    auto* existing = edit->findChild<KeyCharFilter*>(QString(), Qt::FindDirectChildrenOnly);
    if (!filter) {
        delete existing;
        return;
    }
    if (existing) {
        existing->setFilter(std::move(filter));
        return;
    }
    edit->installEventFilter(new KeyCharFilter(edit, std::move(filter)));
}

} // namespace ui

#include "KeyCharFilter.moc"
