#include "lookup/formAntSabitler.h"

#include "platform/ui/DbControls.h"
#include "platform/ui/ErrorDisplay.h"
#include "platform/ui/Modal.h"
#include "schema/DataModule1.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

db::Dataset& sabitler() {
    return DM1->AQANT_Sabitler;
}

QString kolon(int kaynak, const char* ek) {
    return QStringLiteral("EXTSERVIS%1").arg(kaynak) + QLatin1String(ek);
}

// A caption above its box.
QWidget* basliklaKutu(const QString& baslik, QWidget* kutu) {
    auto* w = new QWidget;
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(1);
    l->addWidget(new QLabel(baslik));
    l->addWidget(kutu);
    return w;
}

} // namespace

TfrmAntSabitler::TfrmAntSabitler(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Sabitler"));
    db::Dataset* ds = &sabitler();

    auto* kok = new QVBoxLayout(this);
    auto* baslik = new QLabel(QStringLiteral("Beyanname bilgileri getirme işlmeleri için dış kaynaklar"));
    QFont kalin = baslik->font();
    kalin.setBold(true);
    baslik->setFont(kalin);
    kok->addWidget(baslik);

    QList<QWidget*> sekme; // tab order
    for (int i = 0; i < 4; ++i) {
        const int n = i + 1;
        chkAktif[i] = new ui::DbCheckBox(QStringLiteral("Dış Kaynak %1 Aktif").arg(n));
        chkAktif[i]->bind(ds, kolon(n, "AKTIF"));
        edtAdi[i] = new ui::DbEdit(ds, kolon(n, "ADI"));
        edtAdres[i] = new ui::DbEdit(ds, kolon(n, "ADRES"));
        edtKullanici[i] = new ui::DbEdit(ds, kolon(n, "KULLANICI"));
        edtSifre[i] = new ui::DbEdit(ds, kolon(n, "SIFRE"));
        edtSifre[i]->setEchoMode(QLineEdit::Password);
        edtSifre[i]->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // "*"
        sekme << chkAktif[i] << edtAdi[i] << edtAdres[i] << edtKullanici[i] << edtSifre[i];

        auto* blok = new QFrame;
        blok->setFrameShape(QFrame::StyledPanel);
        auto* g = new QGridLayout(blok);
        g->setContentsMargins(6, 4, 6, 4);
        g->setVerticalSpacing(2);
        g->addWidget(chkAktif[i], 0, 0, Qt::AlignBottom);
        g->addWidget(basliklaKutu(QStringLiteral("Kaynak Adı"), edtAdi[i]), 0, 1);
        g->addWidget(basliklaKutu(QStringLiteral("Kaynak Adres"), edtAdres[i]), 0, 2);
        g->addWidget(basliklaKutu(QStringLiteral("Kullanıcı Adı"), edtKullanici[i]), 1, 1);
        g->addWidget(basliklaKutu(QStringLiteral("Şifre"), edtSifre[i]), 1, 2);
        g->setColumnMinimumWidth(0, 140);
        g->setColumnStretch(1, 2);
        g->setColumnStretch(2, 5);
        kok->addWidget(blok);
    }

    rgOncelik = new ui::DbRadioGroup(QStringLiteral("Dış Kaynak Öncelik"),
                                     {QStringLiteral("Yerel veritabanı"), QStringLiteral("Dış Kaynak 1 WS"),
                                      QStringLiteral("Dış Kaynak 2 WS"), QStringLiteral("Dış Kaynak 3 WS"),
                                      QStringLiteral("Dış Kaynak 4 WS")});
    if (auto* yatay = qobject_cast<QBoxLayout*>(rgOncelik->layout()))
        yatay->setDirection(QBoxLayout::LeftToRight); // one line is enough for five short choices
    rgOncelik->bind(ds, QStringLiteral("STANDARTVERIKAYNAK"));
    kok->addWidget(rgOncelik);
    for (int i = 0; i < rgOncelik->count(); ++i)
        sekme << rgOncelik->button(i);

    edtRaporLink = new ui::DbEdit(ds, QStringLiteral("RAPORLINK"));
    kok->addWidget(basliklaKutu(QStringLiteral("Rapor Sunucu Bağlantısı (Link)"), edtRaporLink));
    sekme << edtRaporLink;

    btnKaydet = new QPushButton(QStringLiteral("Ka&ydet"));
    btnKaydet->setDefault(true);
    btnKapat = new QPushButton(QStringLiteral("&Kapat"));
    btnKapat->setAutoDefault(false);
    connect(btnKaydet, &QPushButton::clicked, this, &TfrmAntSabitler::Kaydet);
    connect(btnKapat, &QPushButton::clicked, this, &QDialog::reject);
    auto* dugmeler = new QHBoxLayout;
    dugmeler->addStretch();
    dugmeler->addWidget(btnKaydet);
    dugmeler->addWidget(btnKapat);
    kok->addLayout(dugmeler);
    sekme << btnKaydet << btnKapat;

    for (int i = 1; i < sekme.size(); ++i)
        setTabOrder(sekme[i - 1], sekme[i]);

    setFixedSize(sizeHint().expandedTo(QSize(680, 0)));
}

void TfrmAntSabitler::FormShow() {
    db::Dataset& ds = sabitler();
    ds.close();
    ds.open();
    if (ds.isEmpty()) {
        // the row is written at once and stays even if the user leaves without saving
        ds.append();
        ds.setValue(QStringLiteral("STANDARTVERIKAYNAK"), 0);
        for (int n = 1; n <= 4; ++n)
            ds.setValue(kolon(n, "AKTIF"), false);
        ds.post();
    }
    ds.first();
    ds.edit();
}

void TfrmAntSabitler::Kaydet() {
    // a refused write is shown; the dialog stays open with the edits in place
    if (ui::runCommand([] { sabitler().post(); })) accept();
}

void TfrmAntSabitler::done(int result) {
    db::Dataset& ds = sabitler();
    ds.cancel();
    ds.close();
    QDialog::done(result);
}

void AntSabitlerDuzenle(QWidget* parent) {
    TfrmAntSabitler frm(parent ? parent : QApplication::activeWindow());
    if (!ui::runCommand([&] { frm.FormShow(); })) {
        sabitler().cancel();
        sabitler().close();
        return;
    }
    ui::execModal(frm);
}
