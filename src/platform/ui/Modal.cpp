#include "platform/ui/Modal.h"

#include <QDialog>

namespace ui {

namespace {
ModalHook& hook() {
    static ModalHook h;
    return h;
}
} // namespace

int execModal(QDialog& dialog) {
    if (hook())
        return hook()(dialog);
    return dialog.exec();
}

void setModalHook(ModalHook h) {
    hook() = std::move(h);
}

} // namespace ui
