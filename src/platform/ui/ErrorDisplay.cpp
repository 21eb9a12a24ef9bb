#include "platform/ui/ErrorDisplay.h"

#include "platform/db/DbError.h"
#include "platform/ui/Messages.h"

#include <cstdio>

namespace ui {

void ShowError(const QString& message) {
    ShowMessage(message);
}

bool runCommand(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const db::DbError& e) {
        if (!e.statement().isEmpty())
            std::fprintf(stderr, "TarvoAntrepo komut: %s\n", qPrintable(e.statement()));
        ShowError(e.message());
    }
    return false;
}

} // namespace ui
