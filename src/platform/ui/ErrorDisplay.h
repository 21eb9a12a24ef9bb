#pragma once

#include <QString>
#include <functional>

namespace ui {

// The general error display: a database error that a command does not expect ends the
// command, and its message is shown to the user. Returns false when the command failed.
bool runCommand(const std::function<void()>& command);

void ShowError(const QString& message);

} // namespace ui
