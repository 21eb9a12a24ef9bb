#pragma once

#include <QString>
#include <functional>

namespace ui {

enum class MessageKind { Plain, OkCancel, YesNo };

// Every message box and confirmation goes through one sink. The default sink shows a modal
// box; tests replace it to record what was shown and to give the answers.
// The sink returns true for OK / Yes.
using MessageSink = std::function<bool(MessageKind kind, const QString& text)>;

void setMessageSink(MessageSink sink); // an empty sink restores the default
MessageSink defaultMessageSink();

void ShowMessage(const QString& text);          // one OK button
bool ConfirmOkCancel(const QString& text);      // true only for OK
bool ConfirmYesNo(const QString& text);         // true only for Yes

} // namespace ui
