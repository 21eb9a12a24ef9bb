#pragma once

#include <QDialog>
#include <QStringList>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// Asks whether to update to the newer build stored in the database; the file facts of
// both builds are listed in the text box.
class TfrmGuncellemeSorusu : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGuncellemeSorusu(const QStringList& satirlar, QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QLabel* LblSoru;
    QPlainTextEdit* Memo1;
    QPushButton* BtnEvet;
    QPushButton* BtnHayir;

    // true only when "&EVET" was pressed
    bool GuncellemeYap = false;
};
