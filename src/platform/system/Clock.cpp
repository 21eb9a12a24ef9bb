#include "platform/system/Clock.h"

namespace sys {

std::optional<QDateTime>& Clock::fixed() {
    static std::optional<QDateTime> value;
    return value;
}

QDateTime Clock::now() {
    return fixed() ? *fixed() : QDateTime::currentDateTime();
}

void Clock::setFixed(const QDateTime& dt) {
    fixed() = dt;
}

void Clock::reset() {
    fixed().reset();
}

} // namespace sys
