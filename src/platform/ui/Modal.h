#pragma once

#include <functional>

class QDialog;

namespace ui {

// Every modal window opens through here. A test installs a hook that drives the window
// (types, presses, closes it) and returns the dialog's result instead of a real exec().
using ModalHook = std::function<int(QDialog& dialog)>;

int execModal(QDialog& dialog);
void setModalHook(ModalHook hook); // empty restores exec()

} // namespace ui
