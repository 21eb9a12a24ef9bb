#pragma once

#include <QDialog>
#include <array>

class QPushButton;

namespace ui {
class DbCheckBox;
class DbEdit;
class DbRadioGroup;
} // namespace ui

// The warehouse settings editor: the four external declaration sources, the preferred
// source and the report address, edited in place in the first row of DM1->AQANT_Sabitler.
class TfrmAntSabitler : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAntSabitler(QWidget* parent = nullptr);

    // Opens the dataset, inserting the settings row when there is none, and puts the
    // first row into edit mode. Throws db::DbError.
    void FormShow();
    void done(int result) override; // every close: drop unsaved edits, close the dataset

    std::array<ui::DbCheckBox*, 4> chkAktif{};
    std::array<ui::DbEdit*, 4> edtAdi{};
    std::array<ui::DbEdit*, 4> edtAdres{};
    std::array<ui::DbEdit*, 4> edtKullanici{};
    std::array<ui::DbEdit*, 4> edtSifre{};
    ui::DbRadioGroup* rgOncelik = nullptr;
    ui::DbEdit* edtRaporLink = nullptr;
    QPushButton* btnKaydet = nullptr;
    QPushButton* btnKapat = nullptr;

private:
    void Kaydet();
};

// Opens the settings editor modally (the main window's three "Sabitler" commands).
void AntSabitlerDuzenle(QWidget* parent = nullptr);
