#pragma once

#include <QChar>
#include <functional>

class QLineEdit;

namespace ui {

// Replaces each character typed into the edit by filter(character) before the edit
// receives the key press. Text put in any other way (paste, insert(), setText()) is left
// as it is. A second call replaces the filter; an empty filter removes it.
void setKeyCharFilter(QLineEdit* edit, std::function<QChar(QChar)> filter);

} // namespace ui
