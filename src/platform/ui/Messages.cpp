#include "platform/ui/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

namespace ui {

namespace {

MessageSink& currentSink() {
    static MessageSink sink;
    return sink;
}

bool ask(MessageKind kind, const QString& text) {
    // Support staff see on standard error what a user saw.
    const char* tag = kind == MessageKind::Plain ? "mesaj" : "soru";
    std::fprintf(stderr, "TarvoAntrepo %s: %s\n", tag, qPrintable(QString(text).replace(u'\n', u' ')));
    std::fflush(stderr);
    const MessageSink& s = currentSink();
    return s ? s(kind, text) : defaultMessageSink()(kind, text);
}

} // namespace

MessageSink defaultMessageSink() {
    return [](MessageKind kind, const QString& text) {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return false; // no GUI: nothing can be answered
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(QApplication::applicationDisplayName());
        box.setText(text);
        box.setIcon(QMessageBox::NoIcon);
        switch (kind) {
        case MessageKind::Plain:
            box.setStandardButtons(QMessageBox::Ok);
            box.exec();
            return true;
        case MessageKind::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            box.button(QMessageBox::Ok)->setText(QStringLiteral("Tamam"));
            box.button(QMessageBox::Cancel)->setText(QStringLiteral("İptal"));
            return box.exec() == QMessageBox::Ok;
        case MessageKind::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.button(QMessageBox::Yes)->setText(QStringLiteral("&Evet"));
            box.button(QMessageBox::No)->setText(QStringLiteral("&Hayır"));
            return box.exec() == QMessageBox::Yes;
        }
        return false;
    };
}

void setMessageSink(MessageSink sink) {
    currentSink() = std::move(sink);
}

void ShowMessage(const QString& text) {
    ask(MessageKind::Plain, text);
}

bool ConfirmOkCancel(const QString& text) {
    return ask(MessageKind::OkCancel, text);
}

bool ConfirmYesNo(const QString& text) {
    return ask(MessageKind::YesNo, text);
}

} // namespace ui
