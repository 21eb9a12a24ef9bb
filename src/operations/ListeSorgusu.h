#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace operations {

enum class TarihTipi { KayitZamani, TescilTarihi, GumrukTutanakTarihi };
enum class HareketYonu { Tumu, Giris, Cikis };
enum class Siralama { DosyaYilSira, SayimTutanakNumarasi, KayitZamani, TescilTarihi, GumrukTutanakTarihi };
enum class SiralamaYonu { BuyuktenKucuge, KucuktenBuyuge };

// The filters of the operation list, as the user left them (texts untrimmed).
struct ListeFiltresi {
    TarihTipi tarihTipi = TarihTipi::KayitZamani;
    QDate baslangic;
    QDate bitis;
    HareketYonu yon = HareketYonu::Tumu;
    QString antrepoKodu;
    QString rejimKodu;
    QString tescilNo;        // LIKE pattern
    QString sayimTutanakNo;  // a whole number
    QString gumrukTutanakNo; // LIKE pattern
    Siralama siralama = Siralama::DosyaYilSira;
    SiralamaYonu siralamaYonu = SiralamaYonu::BuyuktenKucuge;
};

struct ListeSorgusuSonucu {
    QString sql;                              // empty when hata is set
    QList<QPair<QString, QVariant>> degerler; // ":NAME" parameters and their values
    QString hata;                             // "HATA: ..." for a filter that cannot be searched
};

// The list's statement: the identifier filters when any holds text, else the range filters;
// then the order, the chosen direction applying to every sort column.
ListeSorgusuSonucu ListeSorgusu(const ListeFiltresi& filtre);

} // namespace operations
