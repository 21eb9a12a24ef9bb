#include "common/Fonksiyonlar.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/KeyCharFilter.h"
#include "platform/ui/Messages.h"
#include "schema/DataModule1.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>

namespace {

// A scratch query is closed when its user returns, also when a read throws.
class KapaliBirak {
public:
    explicit KapaliBirak(db::Dataset& q) : m_q(q) {}
    ~KapaliBirak() { m_q.close(); }
    KapaliBirak(const KapaliBirak&) = delete;
    KapaliBirak& operator=(const KapaliBirak&) = delete;

private:
    db::Dataset& m_q;
};

TDM1& dm() {
    if (!DM1) throw db::DbError(QStringLiteral("Veri modülü oluşturulmamış"));
    return *DM1;
}

// The table name goes into the statement text, so it must be a bare name.
bool duzTabloAdi(const QString& name) {
    if (name.isEmpty()) return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool harf = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
        const bool rakam = c >= u'0' && c <= u'9';
        if (!harf && !(rakam && i > 0)) return false;
    }
    return true;
}

// The key of an address written as a whole decimal number (blanks around it and a sign
// allowed, as the server would read it); nothing when it is not one or no 32-bit key
// can equal it.
std::optional<int> adresAnahtari(const QString& text) {
    const QString s = text.trimmed();
    qsizetype i = (s.startsWith(u'+') || s.startsWith(u'-')) ? 1 : 0;
    if (i >= s.size()) return std::nullopt;
    for (; i < s.size(); ++i)
        if (s[i] < u'0' || s[i] > u'9') return std::nullopt;
    bool ok = false;
    const qlonglong n = s.toLongLong(&ok);
    if (!ok || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(n);
}

// Runs statement on the scratch query and returns the first row's column, or nothing
// when there is no row.
std::optional<QVariant> ilkDeger(db::Dataset& q, const QString& sql, const QString& param,
                                 const QVariant& value, const QString& column) {
    q.close();
    q.setSql(sql);
    q.setParam(param, value);
    KapaliBirak kapat(q);
    q.open();
    if (q.isEmpty()) return std::nullopt;
    q.first();
    return q.value(column);
}

} // namespace

bool OpenADOQuery(db::Dataset*& AQTable, const QString& SQLText) {
    AQTable = new db::Dataset(DM1 ? &DM1->TarvoDB : nullptr);
    try {
        AQTable->setSql(SQLText);
        AQTable->open();
    } catch (const std::exception&) {
        return false;
    }
    return AQTable->active();
}

void CloseADOQuery(db::Dataset*& AQTable) {
    if (!AQTable) return;
    AQTable->close();
    delete AQTable;
    AQTable = nullptr;
}

bool KayitSil(db::Dataset& Tablo) {
    if (Tablo.recordCount() <= 0) return false;
    if (!ui::ConfirmOkCancel(QStringLiteral("Kayıtı silmek istiyor musunuz?"))) return false;
    // deleting an unsaved new row only drops it; no stored row goes
    const bool yeniSatir = Tablo.state() == db::Dataset::State::Insert;
    try {
        Tablo.deleteRow();
    } catch (const db::DbError&) {
        ui::ShowMessage(QStringLiteral("HATA : Kayıt silinemedi!"));
        return false;
    }
    return !yeniSatir;
}

QString DegerGetir(const QString& TabloAdi, const QString& Kodu, bool& Bulundu) {
    if (!duzTabloAdi(TabloAdi)) throw db::DbError(QStringLiteral("Geçersiz tablo adı: %1").arg(TabloAdi));
    if (Kodu.isEmpty()) {
        Bulundu = true;
        return {};
    }
    db::Dataset& q = dm().QryGenel2;
    q.close();
    q.setSql(QStringLiteral("SELECT * FROM ") + TabloAdi + QStringLiteral(" WHERE KODU = :KODU"));
    q.setParam(QStringLiteral("KODU"), Kodu);
    KapaliBirak kapat(q);
    q.open();
    if (q.isEmpty()) {
        Bulundu = false;
        return {};
    }
    q.first();
    QString sonuc;
    // Table names are case-insensitive on the server; so is the choice of display here.
    if (TabloAdi.compare(QLatin1String("EKKODLAR"), Qt::CaseInsensitive) == 0)
        sonuc = q.value(QStringLiteral("KODU")).toString();
    else if (TabloAdi.compare(QLatin1String("BANKALAR"), Qt::CaseInsensitive) == 0)
        sonuc = q.value(QStringLiteral("ADI")).toString() + u' ' + q.value(QStringLiteral("SUBE")).toString();
    else
        sonuc = q.value(QStringLiteral("ADI")).toString();
    Bulundu = true;
    return sonuc;
}

QString KullaniciAdiGetir(int KullaniciId) {
    if (KullaniciId <= 0) return {};
    const auto ad = ilkDeger(
        dm().QryGenel, QStringLiteral("SELECT ADISOYADI FROM KULLANICI WHERE KULLANICIID = :KULLANICIID"),
        QStringLiteral("KULLANICIID"), KullaniciId, QStringLiteral("ADISOYADI"));
    return ad ? ad->toString() : QString();
}

QString IsimGetir(const QString& AdresId) {
    const auto id = adresAnahtari(AdresId);
    if (!id) return {};
    const auto ad = ilkDeger(dm().QryGenel, QStringLiteral("SELECT ADI FROM ADRES WHERE ADRESID = :ADRESID"),
                             QStringLiteral("ADRESID"), *id, QStringLiteral("ADI"));
    return ad ? ad->toString() : QString();
}

QString VergiNoGetir(const QString& AdresId) {
    const auto id = adresAnahtari(AdresId);
    if (!id) return {};
    const auto vergiNo =
        ilkDeger(dm().QryGenel, QStringLiteral("SELECT VERGINO FROM ADRES WHERE ADRESID = :ADRESID"),
                 QStringLiteral("ADRESID"), *id, QStringLiteral("VERGINO"));
    if (!vergiNo) return {};
    const QString s = vergiNo->toString();
    return s.trimmed().isEmpty() ? QStringLiteral("x") : s;
}

QString SQLDateBetweenTwoDates(const QString& VariableName, const QDateTime& DateFirst,
                               const QDateTime& DateLast) {
    const QDate d1 = DateFirst.date();
    const QDate d2 = DateLast.date();
    return VariableName + QStringLiteral(" BETWEEN {ts '") + Fill0(d1.year(), 4) + u'-' +
           Fill0(d1.month(), 2) + u'-' + Fill0(d1.day(), 2) + QStringLiteral(" 00:00:00'} AND {ts '") +
           Fill0(d2.year(), 4) + u'-' + Fill0(d2.month(), 2) + u'-' + Fill0(d2.day(), 2) +
           QStringLiteral(" 23:59:59'}");
}

int MaxFormWidth(int FormCanBeMax) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return FormCanBeMax;
    return MaxFormWidth(FormCanBeMax, screen->availableGeometry().width());
}

int MaxFormWidth(int FormCanBeMax, int WorkAreaWidth) {
    // w * 98 is exact in a double and a .5 quotient is representable, so nearbyint's
    // round-half-to-even sees the true value.
    const int limit = int(std::nearbyint(double(WorkAreaWidth) * 98.0 / 100.0));
    return FormCanBeMax < limit ? FormCanBeMax : limit;
}

quint16 AntDosyaNoVer(const QDateTime& Tarih) {
    TDM1& d = dm();
    const int yil = Tarih.date().year();

    db::Dataset& maxQ = d.QryMaxAntDosyaNo;
    int enBuyuk = 0;
    {
        maxQ.close();
        maxQ.setParam(QStringLiteral("DOSYAYIL"), yil);
        KapaliBirak kapat(maxQ);
        maxQ.open();
        if (!maxQ.isEmpty()) {
            maxQ.first();
            enBuyuk = maxQ.value(QStringLiteral("MAXDOSYASIRA")).toInt(); // NULL reads as 0
        }
    }
    enBuyuk = qMax(enBuyuk, 0);

    int sonuc = enBuyuk + 1;
    db::Dataset& q = d.QryAntDosyaNo;
    {
        q.close();
        q.setParam(QStringLiteral("DOSYAYIL"), yil);
        q.setParam(QStringLiteral("DOSYASIRA"), qMax(enBuyuk - 100, 0));
        KapaliBirak kapat(q);
        q.open();
        if (!q.isEmpty()) {
            // largest first: walk up from the smallest number in the window
            q.last();
            int onceki = q.value(QStringLiteral("DOSYASIRA")).toInt();
            while (!q.bof()) {
                const int bu = q.value(QStringLiteral("DOSYASIRA")).toInt();
                if (bu - onceki >= 2) {
                    sonuc = onceki + 1;
                    break;
                }
                onceki = bu;
                q.prior();
            }
        }
    }
    // The number is 16 bits wide: a full year must not wrap round to reuse 0 or 1.
    if (sonuc > 65535)
        throw db::DbError(QStringLiteral("HATA: %1 yılı için yeni dosya numarası verilemiyor; "
                                         "bu yılın dosya numaraları 65535'e ulaştı.")
                              .arg(yil));
    return quint16(sonuc);
}

QString FormatDosyaNo(int Yil, int DosyaNo) {
    QString no = QString::number(DosyaNo);
    while (no.size() < 6)
        no.prepend(u'0');
    return (QString::number(Yil) + u'/' + no).left(16);
}

QString Fill0(int Deger, quint8 Basamak) {
    QString s = QString::number(Deger);
    if (s.size() < Basamak) return QString(Basamak - s.size(), u'0') + s;
    return s.left(Basamak);
}

QString BeyanTuruVer(const QString& RejimKodu) {
    if (RejimKodu.trimmed().isEmpty()) return {};
    switch (RejimKodu.at(0).unicode()) {
    case u'0':
    case u'4':
    case u'5':
    case u'6':
    case u'9':
        return QStringLiteral("IM");
    case u'1':
    case u'2':
    case u'3':
        return QStringLiteral("EX");
    case u'7':
        return QStringLiteral("AN");
    case u'T':
        return QStringLiteral("TR");
    default:
        return {};
    }
}

QString GTIPNoktasiz(const QString& GTIP) {
    QString s = GTIP;
    s.remove(u'.');
    return s;
}

QString GTIPNoktali(const QString& GTIP) {
    const qsizetype n = GTIP.size();
    if (n < 4) return {};
    QString s = GTIP.left(4);
    for (qsizetype from = 4; from < 12 && from < n; from += 2)
        s += u'.' + GTIP.mid(from, 2);
    return s;
}

QChar BuyuKHarf(QChar key) {
    const char16_t c = key.unicode();
    switch (c) {
    case u'i':
        return QChar(u'İ');
    case u'ı':
        return QChar(u'I');
    case u'ç':
        return QChar(u'Ç');
    case u'ğ':
        return QChar(u'Ğ');
    case u'ö':
        return QChar(u'Ö');
    case u'ş':
        return QChar(u'Ş');
    case u'ü':
        return QChar(u'Ü');
    default:
        if (c >= u'a' && c <= u'z') return QChar(char16_t(c - u'a' + u'A'));
        return key;
    }
}

QString TurkceKelimeBuyut(const QString& GelenStr) {
    QString s = GelenStr;
    for (QChar& c : s)
        c = BuyuKHarf(c);
    return s;
}

void BuyukHarfGirisi(QLineEdit* edit) {
    ui::setKeyCharFilter(edit, BuyuKHarf);
}
