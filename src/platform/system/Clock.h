#pragma once

#include <QDateTime>
#include <optional>

namespace sys {

// The one source of "now" and "today"; tests fix it.
class Clock {
public:
    static QDateTime now();
    static QDate today() { return now().date(); }
    static void setFixed(const QDateTime& dt);
    static void reset();

private:
    static std::optional<QDateTime>& fixed();
};

} // namespace sys
