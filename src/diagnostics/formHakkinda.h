#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

// The about box: program version and location on the first page, the database server's
// state on the second.
class TfrmHakkinda : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHakkinda(QWidget* parent = nullptr);

    QTabWidget* Sayfalar;
    QLabel* lblUyarlama;
    QLabel* lblLokasyon;
    QPlainTextEdit* memoBilgi;
    QTreeWidget* lvSunucu;
    QPushButton* btnTazele;
    QPushButton* btnKapat;

    void FormShow();              // version, location and the server description
    void SunucuBilgileriDoldur(); // rebuilds the diagnostics list

private:
    QWidget* hakkindaSayfasi();
    QWidget* sunucuSayfasi();
};

// Opens the about box modally (main window's "Program Hakkında...").
void HakkindaGoster(QWidget* parent = nullptr);
