#include "diagnostics/formHakkinda.h"

#include "diagnostics/SunucuBilgisi.h"
#include "platform/ui/ErrorDisplay.h"
#include "platform/ui/Modal.h"
#include "schema/DataModule1.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const char* const kSoluk = "#FFFFE1"; // pale yellow of information boxes

QLabel* etiket(const QString& text, const QFont& font, const QString& style = {}) {
    auto* l = new QLabel(text);
    l->setFont(font);
    if (!style.isEmpty()) l->setStyleSheet(style);
    return l;
}

QFont yazi(const QString& family, int pt, bool bold = false) {
    QFont f(family, pt);
    f.setBold(bold);
    return f;
}

QFrame* cizgi() {
    auto* f = new QFrame;
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

// The product's picture: stacked crates under a warehouse roof.
QPixmap urunResmi() {
    QPixmap p(96, 96);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Qt::white, 3));
    g.setBrush(Qt::NoBrush);
    g.drawPolyline(QPolygonF({QPointF(8, 40), QPointF(48, 12), QPointF(88, 40)}));
    g.setPen(QPen(QColor(40, 40, 40), 1));
    const QColor kasa(0x9A, 0xCD, 0x32);
    for (const QRectF& r : {QRectF(20, 58, 26, 26), QRectF(50, 58, 26, 26), QRectF(35, 32, 26, 26)}) {
        g.setBrush(kasa);
        g.drawRect(r);
        g.drawLine(r.topLeft(), r.bottomRight());
    }
    return p;
}

} // namespace

TfrmHakkinda::TfrmHakkinda(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Program Hakkında"));
    Sayfalar = new QTabWidget;
    Sayfalar->addTab(hakkindaSayfasi(), QStringLiteral("Hakkında"));
    Sayfalar->addTab(sunucuSayfasi(), QStringLiteral("Sunucu Özellikleri"));

    btnKapat = new QPushButton(QStringLiteral("&Kapat"));
    btnKapat->setAutoDefault(false);
    connect(btnKapat, &QPushButton::clicked, this, &QDialog::reject);
    auto* alt = new QHBoxLayout;
    alt->addStretch();
    alt->addWidget(btnKapat);

    auto* kok = new QVBoxLayout(this);
    kok->addWidget(Sayfalar);
    kok->addLayout(alt);

    connect(Sayfalar, &QTabWidget::currentChanged, this, [this](int i) {
        if (i == 1) SunucuBilgileriDoldur();
    });
    connect(btnTazele, &QPushButton::clicked, this, &TfrmHakkinda::SunucuBilgileriDoldur);
    setFixedSize(660, 400);
}

QWidget* TfrmHakkinda::hakkindaSayfasi() {
    auto* sayfa = new QWidget;

    auto* panel = new QFrame;
    panel->setFixedWidth(150);
    panel->setAutoFillBackground(true);
    panel->setStyleSheet(QStringLiteral("QFrame { background: #808080; }"));
    auto* resim = new QLabel;
    resim->setPixmap(urunResmi());
    resim->setAlignment(Qt::AlignCenter);
    auto* marka = new QVBoxLayout(panel);
    marka->addStretch();
    marka->addWidget(resim);
    marka->addWidget(etiket(QStringLiteral("Velkora"), yazi(QStringLiteral("Arial Black"), 14, true),
                            QStringLiteral("color: black;")),
                     0, Qt::AlignHCenter);
    auto* tarvo = new QHBoxLayout;
    tarvo->setSpacing(0);
    tarvo->addStretch();
    tarvo->addWidget(etiket(QStringLiteral("tarvo"), yazi(QStringLiteral("Arial Rounded MT Bold"), 13, true),
                            QStringLiteral("color: white;")));
    tarvo->addWidget(etiket(QStringLiteral("Antrepo"),
                            yazi(QStringLiteral("Arial Rounded MT Bold"), 13, true),
                            QStringLiteral("color: lime;")));
    tarvo->addStretch();
    marka->addLayout(tarvo);
    marka->addStretch();

    const QFont baslik = yazi(QStringLiteral("Arial"), 10, true);
    auto* ustSatir = new QHBoxLayout;
    ustSatir->addWidget(etiket(QStringLiteral("Velkora TarvoAntrepo"), baslik));
    ustSatir->addStretch();
    lblLokasyon = etiket(QStringLiteral("- - - -"), yazi(QStringLiteral("Arial"), 10, true),
                         QStringLiteral("color: blue;"));
    lblLokasyon->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ustSatir->addWidget(lblLokasyon);

    auto* surumSatiri = new QHBoxLayout;
    surumSatiri->addWidget(etiket(QStringLiteral("Uyarlama:"), baslik));
    lblUyarlama = etiket(QString(), yazi(QStringLiteral("Arial"), 10));
    surumSatiri->addWidget(lblUyarlama);
    surumSatiri->addStretch();

    const QString gri = QStringLiteral("color: #606060;");
    const QFont kucuk = yazi(QStringLiteral("Arial"), 8);
    auto* sag = new QVBoxLayout;
    sag->addLayout(ustSatir);
    sag->addLayout(surumSatiri);
    sag->addWidget(cizgi());
    sag->addWidget(etiket(QStringLiteral("Velkora Yazılım ve Danışmanlık Ltd. Şti."),
                          yazi(QStringLiteral("Arial"), 8, true), gri));
    sag->addWidget(
        etiket(QStringLiteral("Limanyolu Cad. No: 12 Kat: 3, 33100 Akdeniz / Mersin"), kucuk, gri));
    sag->addWidget(etiket(QStringLiteral("Tel: +90 324 000 00 00   Faks: +90 324 000 00 01"), kucuk, gri));
    sag->addWidget(etiket(QStringLiteral("www.velkora.com.tr"), kucuk, gri));
    sag->addWidget(etiket(QStringLiteral("destek@velkora.com.tr"), kucuk, gri));
    sag->addWidget(cizgi());
    memoBilgi = new QPlainTextEdit;
    memoBilgi->setReadOnly(true);
    memoBilgi->setFont(yazi(QStringLiteral("Arial"), 9));
    memoBilgi->setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; }").arg(QLatin1String(kSoluk)));
    sag->addWidget(memoBilgi, 1);

    auto* duzen = new QHBoxLayout(sayfa);
    duzen->addWidget(panel);
    duzen->addLayout(sag, 1);
    return sayfa;
}

QWidget* TfrmHakkinda::sunucuSayfasi() {
    auto* sayfa = new QWidget;
    lvSunucu = new QTreeWidget;
    lvSunucu->setColumnCount(2);
    lvSunucu->setHeaderLabels({QStringLiteral("Bilgi"), QStringLiteral("Değer")});
    lvSunucu->setRootIsDecorated(false);
    lvSunucu->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvSunucu->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvSunucu->setColumnWidth(0, 176);
    lvSunucu->setColumnWidth(1, 419);
    lvSunucu->setStyleSheet(QStringLiteral("QTreeWidget { background: %1; }").arg(QLatin1String(kSoluk)));

    btnTazele = new QPushButton(QStringLiteral("Bilgileri Tazele"));
    btnTazele->setAutoDefault(false);
    auto* alt = new QHBoxLayout;
    alt->addStretch();
    alt->addWidget(btnTazele);

    auto* duzen = new QVBoxLayout(sayfa);
    duzen->addWidget(lvSunucu, 1);
    duzen->addLayout(alt);
    return sayfa;
}

void TfrmHakkinda::FormShow() {
    lblUyarlama->setText(DM1->Uyarlama + QStringLiteral("  Derleme: ") + DM1->Derleme);
    memoBilgi->clear();
    QString tanim;
    if (ui::runCommand([&] { tanim = diag::SQLServer_Name(); }))
        memoBilgi->appendPlainText(QStringLiteral("Veritabanı: ") + tanim);
    lblLokasyon->setText(DM1->LOKASYONADI);
}

void TfrmHakkinda::SunucuBilgileriDoldur() {
    lvSunucu->clear();
    QList<diag::Satir> satirlar;
    // a failing statement is shown; the rows gathered before it are still listed
    ui::runCommand([&] { diag::SunucuBilgileriniDoldur(satirlar); });
    for (const auto& s : satirlar)
        lvSunucu->addTopLevelItem(new QTreeWidgetItem(QStringList{s.bilgi, s.deger}));
}

void HakkindaGoster(QWidget* parent) {
    TfrmHakkinda frm(parent ? parent : QApplication::activeWindow());
    frm.FormShow();
    ui::execModal(frm);
}
