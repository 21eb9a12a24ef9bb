#include "operations/ListeSorgusu.h"

#include "common/Fonksiyonlar.h"

#include <QStringList>

namespace operations {

namespace {

QString tarihKolonu(TarihTipi t) {
    switch (t) {
    case TarihTipi::TescilTarihi:
        return QStringLiteral("TESCILTARIHI");
    case TarihTipi::GumrukTutanakTarihi:
        return QStringLiteral("GUMRUKTUTANAKTARIHI");
    case TarihTipi::KayitZamani:
        break;
    }
    return QStringLiteral("KAYITZAMANI");
}

QStringList siralamaKolonlari(Siralama s) {
    switch (s) {
    case Siralama::SayimTutanakNumarasi:
        return {QStringLiteral("SAYIMTUTANAKNUMARASI")};
    case Siralama::KayitZamani:
        return {QStringLiteral("KAYITZAMANI")};
    case Siralama::TescilTarihi:
        return {QStringLiteral("TESCILTARIHI")};
    case Siralama::GumrukTutanakTarihi:
        return {QStringLiteral("GUMRUKTUTANAKTARIHI")};
    case Siralama::DosyaYilSira:
        break;
    }
    return {QStringLiteral("DOSYAYIL"), QStringLiteral("DOSYASIRA")};
}

} // namespace

ListeSorgusuSonucu ListeSorgusu(const ListeFiltresi& f) {
    ListeSorgusuSonucu s;

    // identifier condition
    QString kimlik;
    if (!f.tescilNo.isEmpty()) {
        kimlik = QStringLiteral("TESCILNO LIKE :TESCILNO");
        s.degerler.append({QStringLiteral("TESCILNO"), f.tescilNo});
    }
    if (!f.sayimTutanakNo.isEmpty()) {
        // bound as a number, so text that is none must be refused here, not by the server
        bool ok = false;
        const qlonglong no = f.sayimTutanakNo.trimmed().toLongLong(&ok);
        if (!ok) {
            s.degerler.clear();
            s.hata = QStringLiteral("HATA: Sayım Tutanak Numarası tam sayı olmalıdır: \"%1\"")
                         .arg(f.sayimTutanakNo);
            return s;
        }
        if (!kimlik.isEmpty()) kimlik += QStringLiteral(" AND ");
        kimlik += QStringLiteral(" SAYIMTUTANAKNUMARASI = :SAYIMTUTANAKNUMARASI");
        s.degerler.append({QStringLiteral("SAYIMTUTANAKNUMARASI"), no});
    }
    if (!f.gumrukTutanakNo.isEmpty()) {
        if (!kimlik.isEmpty()) kimlik += QStringLiteral(" AND ");
        kimlik += QStringLiteral(" GUMRUKTUTANAKNO LIKE :GUMRUKTUTANAKNO");
        s.degerler.append({QStringLiteral("GUMRUKTUTANAKNO"), f.gumrukTutanakNo});
    }

    QString kosul = kimlik;
    if (kosul.isEmpty()) {
        // range condition; the date text is built from dates only
        kosul = SQLDateBetweenTwoDates(tarihKolonu(f.tarihTipi), QDateTime(f.baslangic, QTime(0, 0)),
                                       QDateTime(f.bitis, QTime(0, 0)));
        if (f.yon == HareketYonu::Giris)
            kosul += QStringLiteral(" AND GIRISCIKIS = 0");
        else if (f.yon == HareketYonu::Cikis)
            kosul += QStringLiteral(" AND GIRISCIKIS = 1");
        if (!f.antrepoKodu.isEmpty()) {
            kosul += QStringLiteral(" AND ANTREPOKODU = :ANTREPOKODU");
            s.degerler.append({QStringLiteral("ANTREPOKODU"), f.antrepoKodu});
        }
        if (!f.rejimKodu.isEmpty()) {
            kosul += QStringLiteral(" AND REJIMKODU = :REJIMKODU");
            s.degerler.append({QStringLiteral("REJIMKODU"), f.rejimKodu});
        }
    }

    // every column of the key follows the chosen direction, so the newest year comes first too
    const QString yon =
        f.siralamaYonu == SiralamaYonu::BuyuktenKucuge ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
    QStringList sira;
    for (const auto& kolon : siralamaKolonlari(f.siralama))
        sira << kolon + yon;

    s.sql = QStringList{QStringLiteral("SELECT * FROM ANT_BEYANNAME"), QStringLiteral("WHERE"), kosul,
                        QStringLiteral("ORDER BY ") + sira.join(u',')}
                .join(u'\n');
    return s;
}

} // namespace operations
