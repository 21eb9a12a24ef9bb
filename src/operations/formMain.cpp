#include "operations/formMain.h"

#include "common/Fonksiyonlar.h"
#include "operations/AntrepoIslemSil.h"
#include "platform/system/Clock.h"
#include "platform/ui/DbControls.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/ErrorDisplay.h"
#include "platform/ui/Messages.h"
#include "schema/DataModule1.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

using operations::HareketYonu;
using operations::Siralama;
using operations::SiralamaYonu;
using operations::TarihTipi;

TfrmMain::TfrmMain(TDM1& dm, QWidget* parent) : QMainWindow(parent), m_dm(dm) {
    setWindowTitle(QStringLiteral("TarvoAntrepo"));
    setWindowState(windowState() | Qt::WindowMaximized);

    sayfalar = new QStackedWidget(this);
    sayfalar->addWidget(antrepoSayfasi());
    sayfalar->addWidget(
        tekDugmeliSayfa(QStringLiteral("Antrepo Rapor Sistemi"), [this] { calistir(RaporSistemiAc); }));
    sayfalar->addWidget(tekDugmeliSayfa(QStringLiteral("Sabitler"), [this] { calistir(AntSabitlerAc); }));
    sayfalar->addWidget(destekSayfasi());

    lstSayfalar = new QListWidget(this);
    lstSayfalar->addItems({QStringLiteral("Antrepo"), QStringLiteral("Raporlar"), QStringLiteral("Tablolar"),
                           QStringLiteral("Destek")});
    lstSayfalar->setFixedWidth(110);
    connect(lstSayfalar, &QListWidget::currentRowChanged, sayfalar, &QStackedWidget::setCurrentIndex);
    lstSayfalar->setCurrentRow(0);

    auto* merkez = new QWidget(this);
    auto* yatay = new QHBoxLayout(merkez);
    yatay->setContentsMargins(4, 4, 4, 4);
    yatay->addWidget(lstSayfalar);
    yatay->addWidget(sayfalar, 1);
    setCentralWidget(merkez);

    menuleriKur();

    for (int i = 0; i < 3; ++i) {
        sbPanel[i] = new QLabel(this);
        sbPanel[i]->setFrameShape(QFrame::Panel);
        sbPanel[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(sbPanel[i], i == 2 ? 1 : 0);
    }
    sbPanel[0]->setText(QStringLiteral("Velkora TarvoAntrepo"));
}

TfrmMain::~TfrmMain() = default;

QWidget* TfrmMain::antrepoSayfasi() {
    auto* sayfa = new QWidget(this);
    auto* dikey = new QVBoxLayout(sayfa);
    dikey->setContentsMargins(0, 0, 0, 0);

    auto* filtreler = new QHBoxLayout;
    rgTarihTipi = new ui::RadioGroup(QStringLiteral(" Tarih Tipi "),
                                     {QStringLiteral("Kayıt Zamanı"), QStringLiteral("Tescil Tarihi"),
                                      QStringLiteral("Gümrük Tutanak Tarihi")},
                                     sayfa);
    rgTarihTipi->setItemIndex(0);
    filtreler->addWidget(rgTarihTipi);

    auto tarih = [sayfa] {
        auto* d = new QDateEdit(sayfa);
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        d->setMinimumWidth(110);
        return d;
    };
    dtBitis = tarih();
    dtBitis->setDate(sys::Clock::today());
    dtBaslangic = tarih();
    dtBaslangic->setDate(dtBitis->date().addDays(-30));
    auto* tarihler = new QFormLayout;
    tarihler->addRow(QStringLiteral("Tarih Başlangıç"), dtBaslangic);
    tarihler->addRow(QStringLiteral("Tarih Bitiş"), dtBitis);

    rgHareketYonu =
        new ui::RadioGroup(QStringLiteral("Hareket Yönü"),
                           {QStringLiteral("Tümü"), QStringLiteral("Giriş"), QStringLiteral("Çıkış")}, sayfa);
    rgHareketYonu->setItemIndex(0);
    filtreler->addWidget(rgHareketYonu);
    filtreler->addLayout(tarihler);

    auto metin = [sayfa](int genislik) {
        auto* e = new QLineEdit(sayfa);
        e->setMinimumWidth(genislik);
        return e;
    };
    edAntrepoKodu = metin(90);
    BuyukHarfGirisi(edAntrepoKodu);
    edRejimKodu = metin(90);
    // the rest of the range group under the dates
    tarihler->addRow(QStringLiteral("Antrepo Kodu"), edAntrepoKodu);
    tarihler->addRow(QStringLiteral("Rejim Kodu"), edRejimKodu);

    edTescilNo = metin(120);
    edSayimTutanakNo = metin(120);
    edGumrukTutanakNo = metin(120);
    auto* kimlikler = new QFormLayout;
    kimlikler->addRow(QStringLiteral("Tescil No"), edTescilNo);
    kimlikler->addRow(QStringLiteral("Sayım Tutanak Numarası"), edSayimTutanakNo);
    kimlikler->addRow(QStringLiteral("Gümrük Tutanak No"), edGumrukTutanakNo);
    filtreler->addLayout(kimlikler);

    rgSiralama =
        new ui::RadioGroup(QStringLiteral("Sıralama"),
                           {QStringLiteral("Dosya Yıl + Sıra"), QStringLiteral("Sayım Tutanak Numarası"),
                            QStringLiteral("Kayıt Zamanı"), QStringLiteral("Tescil Tarihi"),
                            QStringLiteral("Gümrük Tutanak Tarihi")},
                           sayfa);
    rgSiralama->setItemIndex(0);
    filtreler->addWidget(rgSiralama);
    rgSiralamaYonu =
        new ui::RadioGroup(QStringLiteral("Sıralama Yönü"),
                           {QStringLiteral("Büyükten Küçüğe"), QStringLiteral("Küçükten Büyüğe")}, sayfa);
    rgSiralamaYonu->setItemIndex(0);
    auto* sagda = new QVBoxLayout;
    sagda->addWidget(rgSiralamaYonu);
    sagda->addStretch(1);

    btnSorgula = new QPushButton(QStringLiteral("[F7] Sorgula"), sayfa);
    btnSorgula->setMinimumHeight(40);
    sagda->addWidget(btnSorgula);
    filtreler->addLayout(sagda);
    filtreler->addStretch(1);
    dikey->addLayout(filtreler);

    // a choice runs the query at once; typed text and dates wait for F7
    for (auto* rg : {rgTarihTipi, rgHareketYonu, rgSiralama, rgSiralamaYonu})
        connect(rg, &ui::RadioGroup::chosen, this, [this] { Sorgula(); });
    connect(btnSorgula, &QPushButton::clicked, this, [this] { Sorgula(); });

    grid = new ui::DbGrid(sayfa);
    grid->setColumns({
        {QStringLiteral("GIRISCIKISSTR"), QStringLiteral("G./Ç."), 40},
        {QStringLiteral("DOSYAYIL"), QStringLiteral("Dosya Yıl"), 50},
        {QStringLiteral("DOSYASIRA"), QStringLiteral("Dosya Sıra")},
        {QStringLiteral("FIRMA"), QStringLiteral("Firma"), 160},
        {QStringLiteral("BEYANTURU"), QStringLiteral("B.T.")},
        {QStringLiteral("REJIMKODU"), QStringLiteral("Rejim Kodu"), 64},
        {QStringLiteral("TESCILNO"), QStringLiteral("Tescil No"), 64},
        {QStringLiteral("TESCILTARIHI"), QStringLiteral("Tescil Tarihi"), 96},
        {QStringLiteral("ANTREPOKODU"), QStringLiteral("Antrepo Kodu"), 80},
        {QStringLiteral("SAYIMTUTANAKNUMARASI"), QStringLiteral("Sayım Tutanak Numarası"), 120},
        {QStringLiteral("GUMRUKTUTANAKNO"), QStringLiteral("Gümrük Tutanak No"), 106},
        {QStringLiteral("GUMRUKTUTANAKTARIHI"), QStringLiteral("Güm.Tutanak Tarihi"), 96},
        {QStringLiteral("CIKISTAKIARACINKIMLIGI"), QStringLiteral("Plaka"), 120},
        {QStringLiteral("KAYITZAMANI"), QStringLiteral("Kayıt Zamanı"), 64},
    });
    grid->setDataset(&m_dm.AQANT_Beyanname);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &ui::DbGrid::rowDoubleClicked, this, [this] { Guncelle(); });
    connect(grid, &ui::DbGrid::keyCommand, this, [this](QKeyCombination key) {
        if (key == QKeyCombination(Qt::Key_F2)) Guncelle();
    });
    dikey->addWidget(grid, 1);

    auto* alt = new QHBoxLayout;
    btnYeni = new QPushButton(QStringLiteral("Yeni Antrepo İşlem"), sayfa);
    btnGuncelle = new QPushButton(QStringLiteral("Güncelle"), sayfa);
    connect(btnYeni, &QPushButton::clicked, this, [this] { YeniAntrepoIslem(); });
    connect(btnGuncelle, &QPushButton::clicked, this, [this] { Guncelle(); });
    navigator = new ui::DbNavigator(sayfa);
    navigator->setDataset(&m_dm.AQANT_Beyanname);
    alt->addWidget(btnYeni);
    alt->addWidget(btnGuncelle);
    alt->addStretch(1);
    alt->addWidget(navigator);
    dikey->addLayout(alt);
    return sayfa;
}

QWidget* TfrmMain::tekDugmeliSayfa(const QString& caption, const std::function<void()>& command) {
    auto* sayfa = new QWidget(this);
    auto* l = new QVBoxLayout(sayfa);
    auto* b = new QPushButton(caption, sayfa);
    b->setMinimumSize(180, 40);
    connect(b, &QPushButton::clicked, this, command);
    l->addWidget(b, 0, Qt::AlignLeft);
    l->addStretch(1);
    return sayfa;
}

QWidget* TfrmMain::destekSayfasi() {
    auto* sayfa = new QWidget(this);
    auto* l = new QVBoxLayout(sayfa);
    auto* baslik = new QLabel(QStringLiteral("Satış,destek ve her türlü bağlantı için:"), sayfa);
    baslik->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    l->addWidget(baslik);
    for (const char* satir :
         {"Velkora Bilişim Teknolojileri Ltd. Şti.", "Liman Caddesi No: 12, 33010 Akdeniz / Mersin",
          "Tel: +90 324 555 00 00   Faks: +90 324 555 00 01", "www.velkora.com.tr", "destek@velkora.com.tr",
          "satis@velkora.com.tr"})
        l->addWidget(new QLabel(QString::fromUtf8(satir), sayfa));
    l->addStretch(1);
    return sayfa;
}

void TfrmMain::menuleriKur() {
    auto eylem = [this](const QString& text, auto slot) {
        auto* a = new QAction(text, this);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* program = menuBar()->addMenu(QStringLiteral("&Program"));
    program->addAction(eylem(QStringLiteral("Sabitler..."), [this] { calistir(AntSabitlerAc); }));
    program->addAction(eylem(QStringLiteral("Program Hakkında..."), [this] { calistir(HakkindaAc); }));

    QMenu* islemler = menuBar()->addMenu(QStringLiteral("İş&lemler"));
    QAction* yeni = eylem(QStringLiteral("Yeni Antrepo İşlem..."), [this] { YeniAntrepoIslem(); });
    yeni->setShortcut(Qt::Key_F6);
    islemler->addAction(yeni);
    islemler->addAction(eylem(QStringLiteral("Antrepo İşlem Sil"), [this] { AntrepoIslemSil(); }));
    islemler->addAction(eylem(QStringLiteral("Toplu Beyanname Getir (Yerel Veritabanından).."),
                              [this] { calistir(TopluBeyannameGetirAc); }));

    QMenu* raporlar = menuBar()->addMenu(QStringLiteral("Raporlar"));
    raporlar->addAction(
        eylem(QStringLiteral("Antrepo &Giriş / Çıkış Raporu..."), [this] { calistir(RaporSistemiAc); }));

    // F7 wherever the focus is in the window
    QAction* sorgula = eylem(QStringLiteral("Sorgula"), [this] { Sorgula(); });
    sorgula->setShortcut(Qt::Key_F7);
    addAction(sorgula);

    QToolBar* arac = addToolBar(QStringLiteral("Araçlar"));
    arac->setMovable(false);
    arac->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* aYeni = eylem(QStringLiteral("Yeni Antrepo İşlem"), [this] { YeniAntrepoIslem(); });
    aYeni->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    QAction* aSabitler = eylem(QStringLiteral("Sabitler"), [this] { calistir(AntSabitlerAc); });
    aSabitler->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    QAction* aCikis = eylem(QStringLiteral("Çıkış"), [this] { close(); });
    aCikis->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    arac->addAction(aYeni);
    arac->addAction(aSabitler);
    arac->addSeparator();
    arac->addAction(aCikis);

    popup = new QMenu(this);
    popup->addAction(eylem(QStringLiteral("Tazele"), [this] { Sorgula(); }));
    popup->addAction(eylem(QStringLiteral("&Yeni Antrepo İşlem"), [this] { YeniAntrepoIslem(); }));
    popup->addAction(eylem(QStringLiteral("Güncelle"), [this] { Guncelle(); }));
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { popup->popup(grid->viewport()->mapToGlobal(p)); });
}

void TfrmMain::calistir(const std::function<void()>& hook) {
    if (!hook) {
        ui::ShowMessage(QStringLiteral("BİLGİ: Bu bölüm bu derlemede henüz yok."));
        return;
    }
    ui::runCommand(hook);
}

operations::ListeFiltresi TfrmMain::filtre() const {
    operations::ListeFiltresi f;
    f.tarihTipi = TarihTipi(qMax(0, rgTarihTipi->itemIndex()));
    f.baslangic = dtBaslangic->date();
    f.bitis = dtBitis->date();
    f.yon = HareketYonu(qMax(0, rgHareketYonu->itemIndex()));
    f.antrepoKodu = edAntrepoKodu->text();
    f.rejimKodu = edRejimKodu->text();
    f.tescilNo = edTescilNo->text();
    f.sayimTutanakNo = edSayimTutanakNo->text();
    f.gumrukTutanakNo = edGumrukTutanakNo->text();
    f.siralama = Siralama(qMax(0, rgSiralama->itemIndex()));
    f.siralamaYonu = SiralamaYonu(qMax(0, rgSiralamaYonu->itemIndex()));
    return f;
}

void TfrmMain::Sorgula() {
    const operations::ListeSorgusuSonucu s = operations::ListeSorgusu(filtre());
    if (!s.hata.isEmpty()) {
        ui::ShowMessage(s.hata); // before the dataset is touched: the list stays as it was
        return;
    }
    db::Dataset& ds = m_dm.AQANT_Beyanname;
    ui::runCommand([&] {
        ds.close();
        ds.setSql(s.sql);
        for (const auto& [ad, deger] : s.degerler)
            ds.setParam(ad, deger);
        ds.open();
    });
}

void TfrmMain::YeniAntrepoIslem() {
    if (!AntBeyannameAc) {
        calistir({});
        return;
    }
    ui::runCommand([this] { AntBeyannameAc(true); });
}

void TfrmMain::Guncelle() {
    const db::Dataset& ds = m_dm.AQANT_Beyanname;
    if (!ds.active() || ds.recordCount() <= 0) return;
    if (!AntBeyannameAc) {
        calistir({});
        return;
    }
    ui::runCommand([this] { AntBeyannameAc(false); });
}

void TfrmMain::AntrepoIslemSil() {
    operations::AntrepoIslemSil(m_dm);
}

void TfrmMain::FormShow() {
    sbPanel[1]->setText(QStringLiteral("Uyarlama: ") + m_dm.Uyarlama + QStringLiteral(" Derleme: ") +
                        m_dm.Derleme);
    dtBitis->setDate(sys::Clock::today());
    dtBaslangic->setDate(dtBitis->date().addDays(-30));
    Sorgula();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_gosterildi) {
        m_gosterildi = true;
        FormShow();
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!ui::ConfirmOkCancel(QStringLiteral("TarvoAntrepo uygulamasını kapatmak istiyor musunuz?"))) {
        event->ignore();
        return;
    }
    m_dm.AQANT_Beyanname.close();
    event->accept();
}
