#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace db {
class Dataset;
}

namespace diag {

// One row of the two-column list: caption ("Bilgi") and value ("Değer").
struct Satir {
    QString bilgi;
    QString deger;
    bool operator==(const Satir&) const = default;
};

using Kayit = QVariantMap; // one result row: column name -> value
using Sonuc = QList<Kayit>;
// Runs one statement with its ":NAME" parameters and returns every row. Throws db::DbError.
using Sorgu = std::function<Sonuc(const QString& sql, const QVariantMap& params)>;

// The statements exactly as they are sent (lines joined with a line break).
namespace sql {
QString urunSurumu();  // SQLServer_Version
QString urunBilgisi(); // SQLServer_Name
QString bellek();
QString islemci();
QString baglanti();
QString dosyalar(); // parameter :DATABASEADI
QString kullanici();
QString sqliteSurum();
QString sqliteDosya();
QString sqliteSayfaBoyutu();
QString sqliteSayfaSayisi();
QString sqliteGunlukKipi();
} // namespace sql

// A column's value, the name compared without regard to letter case.
QVariant deger(const Kayit& kayit, const QString& kolon);

// Major version from the version query's result; 0 with no row or no "." in the text.
// A part before the "." that is no number throws db::DbError.
int SurumNumarasi(const Sonuc& sonuc);
// Product name, level, edition and version from the product query's result; empty with no row.
QString SunucuTanimi(const Sonuc& sonuc);
// The memory-state text of the two signal bits; none when either is NULL.
std::optional<QString> BellekDurumu(const QVariant& yuksek, const QVariant& dusuk);

// A number by a picture of "#" (optional digit), "0" (required digit), "," (grouping) and
// "." (decimal point), with the locale's separators.
QString SayiBicimle(const QString& desen, double deger, const QLocale& locale = QLocale());
// A file row's value: path, two blanks and the size in MB (below 1024) or GB, in brackets.
QString DosyaDegeri(const QString& fizikselAd, double boyutMB, const QLocale& locale = QLocale());

// Fills the list for SQL Server in order; genel runs the diagnostics, genel2 the product
// queries. A failing statement throws and the rows added before it stay in satirlar.
void SqlServerSatirlari(const Sorgu& genel, const Sorgu& genel2, const QString& databaseAdi,
                        QList<Satir>& satirlar);
// The same list for a SQLite database: library version, file with size, pages, journal mode.
void SqliteSatirlari(const Sorgu& genel, QList<Satir>& satirlar);

// Runs a statement on a scratch dataset: close, set, open, read every row, close.
Sonuc Calistir(db::Dataset& sorgu, const QString& sql, const QVariantMap& params = {});

// On the data module's connection (DM1), through QryGenel2 / QryGenel.
int SQLServer_Version();
QString SQLServer_Name(); // on SQLite: "SQLite " and the library's version
void SunucuBilgileriniDoldur(QList<Satir>& satirlar);

} // namespace diag
