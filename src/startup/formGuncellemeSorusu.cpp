#include "startup/formGuncellemeSorusu.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmGuncellemeSorusu::TfrmGuncellemeSorusu(const QStringList& satirlar, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Yeni Derleme"));

    GroupBox1 = new QGroupBox(QStringLiteral(" Dosya Bilgileri "), this);
    LblSoru =
        new QLabel(QStringLiteral("TarvoAntrepo'nun yeni derlemesi var. Güncelleme yapılsın mı?"), GroupBox1);
    Memo1 = new QPlainTextEdit(GroupBox1);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(satirlar.join(u'\n'));
    Memo1->setMinimumSize(520, 160);
    auto* grup = new QVBoxLayout(GroupBox1);
    grup->addWidget(LblSoru);
    grup->addWidget(Memo1);

    BtnEvet = new QPushButton(QStringLiteral("&EVET"), this);
    BtnHayir = new QPushButton(QStringLiteral("&Hayır"), this);
    BtnEvet->setDefault(true);
    BtnEvet->setAutoDefault(true);
    BtnHayir->setAutoDefault(false);
    connect(BtnEvet, &QPushButton::clicked, this, [this] {
        GuncellemeYap = true;
        accept();
    });
    // Esc and closing the window end the same way through reject()
    connect(BtnHayir, &QPushButton::clicked, this, &QDialog::reject);

    auto* dugmeler = new QHBoxLayout;
    dugmeler->addStretch();
    dugmeler->addWidget(BtnEvet);
    dugmeler->addWidget(BtnHayir);
    auto* ana = new QVBoxLayout(this);
    ana->addWidget(GroupBox1);
    ana->addLayout(dugmeler);

    setTabOrder(BtnEvet, BtnHayir);
    BtnEvet->setFocus();
}
