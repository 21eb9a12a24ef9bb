#pragma once

#include "operations/ListeSorgusu.h"

#include <QMainWindow>
#include <functional>

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QStackedWidget;
class TDM1;

namespace ui {
class DbGrid;
class DbNavigator;
class RadioGroup;
} // namespace ui

// The main window: the operation list with its filters, and the commands that open the
// other windows.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(TDM1& dm, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The windows of the commands; an empty hook shows a short notice instead.
    std::function<void(bool YeniAntBeyanname)> AntBeyannameAc; // operation editor
    std::function<void()> TopluBeyannameGetirAc;
    std::function<void()> AntSabitlerAc;
    std::function<void()> RaporSistemiAc;
    std::function<void()> HakkindaAc;

    // commands
    void Sorgula();
    void YeniAntrepoIslem();
    void Guncelle();
    void AntrepoIslemSil();

    operations::ListeFiltresi filtre() const;

    // controls, for whoever drives the window
    ui::RadioGroup* rgTarihTipi = nullptr;
    QDateEdit* dtBaslangic = nullptr;
    QDateEdit* dtBitis = nullptr;
    ui::RadioGroup* rgHareketYonu = nullptr;
    QLineEdit* edAntrepoKodu = nullptr;
    QLineEdit* edRejimKodu = nullptr;
    QLineEdit* edTescilNo = nullptr;
    QLineEdit* edSayimTutanakNo = nullptr;
    QLineEdit* edGumrukTutanakNo = nullptr;
    ui::RadioGroup* rgSiralama = nullptr;
    ui::RadioGroup* rgSiralamaYonu = nullptr;
    QPushButton* btnSorgula = nullptr;
    QPushButton* btnYeni = nullptr;
    QPushButton* btnGuncelle = nullptr;
    ui::DbGrid* grid = nullptr;
    ui::DbNavigator* navigator = nullptr;
    QListWidget* lstSayfalar = nullptr;
    QStackedWidget* sayfalar = nullptr;
    QMenu* popup = nullptr;
    QLabel* sbPanel[3] = {};

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    QWidget* antrepoSayfasi();
    QWidget* tekDugmeliSayfa(const QString& caption, const std::function<void()>& command);
    QWidget* destekSayfasi();
    void menuleriKur();
    void calistir(const std::function<void()>& hook);

    TDM1& m_dm;
    bool m_gosterildi = false;
};
