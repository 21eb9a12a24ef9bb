#include "diagnostics/SunucuBilgisi.h"

#include "platform/db/DbError.h"
#include "schema/DataModule1.h"

#include <cmath>

namespace diag {

namespace sql {

QString urunSurumu() {
    return QStringLiteral("select SERVERPROPERTY('productversion') as PRODUCTVERSION");
}

QString urunBilgisi() {
    return QStringLiteral(
        "select SERVERPROPERTY('productversion') as PRODUCTVERSION,SERVERPROPERTY ('productlevel') "
        "as PRODUCTLEVEL,SERVERPROPERTY('edition') as EDITION");
}

QString bellek() {
    return QStringList{
        QStringLiteral(
            "SELECT @@SERVERNAME as SERVERNAME,(total_physical_memory_kb/1024) as "
            "total_physical_memory_mb,(available_physical_memory_kb/1024) as available_physical_memory_mb,"),
        QStringLiteral("(total_page_file_kb/1024) as total_page_file_mb,(available_page_file_kb/1024) as "
                       "available_page_file_mb,"),
        QStringLiteral(
            "system_high_memory_signal_state,system_low_memory_signal_state,system_memory_state_desc from "
            "sys.dm_os_sys_memory")}
        .join(u'\n');
}

QString islemci() {
    return QStringLiteral("SELECT cpu_count FROM sys.dm_os_sys_info");
}

QString baglanti() {
    return QStringList{
        QStringLiteral("SELECT SERVERPROPERTY('ComputerNamePhysicalNetBIOS') [Machine "
                       "Name],SERVERPROPERTY('InstanceName') AS [Instance Name],"),
        QStringLiteral("LOCAL_NET_ADDRESS AS [SQLServerIP],CLIENT_NET_ADDRESS AS [ClientIp] FROM "
                       "SYS.dm_exec_connections WHERE SESSION_ID = @@SPID")}
        .join(u'\n');
}

// No "use": switching the shared connection's database would last for the whole session.
// The configured database is compared; without one, the connection's current database.
QString dosyalar() {
    return QStringList{QStringLiteral("SELECT DB_NAME(database_id) AS DatabaseName,Name AS "
                                      "Logical_Name,Physical_Name, (size*8)/1024 SizeMB"),
                       QStringLiteral("FROM sys.master_files WHERE DB_NAME(database_id) = "
                                      "COALESCE(NULLIF(:DATABASEADI, ''), DB_NAME())")}
        .join(u'\n');
}

QString kullanici() {
    return QStringLiteral("SELECT SUSER_NAME(SUSER_ID()) AS KULLANICI");
}

QString sqliteSurum() {
    return QStringLiteral("select sqlite_version() as SURUM");
}

QString sqliteDosya() {
    return QStringLiteral(
        "select name as Logical_Name, file as Physical_Name from pragma_database_list where name = "
        "'main'");
}

QString sqliteSayfaBoyutu() {
    return QStringLiteral("select page_size from pragma_page_size()");
}

QString sqliteSayfaSayisi() {
    return QStringLiteral("select page_count from pragma_page_count()");
}

QString sqliteGunlukKipi() {
    return QStringLiteral("select journal_mode from pragma_journal_mode()");
}

} // namespace sql

QVariant deger(const Kayit& kayit, const QString& kolon) {
    for (auto it = kayit.cbegin(); it != kayit.cend(); ++it)
        if (it.key().compare(kolon, Qt::CaseInsensitive) == 0) return it.value();
    return {};
}

namespace {

QString metin(const Kayit& k, const QString& kolon) {
    return deger(k, kolon).toString();
}

// The text before the first "."; empty when there is none.
QString anaSurum(const QString& surum) {
    const qsizetype nokta = surum.indexOf(u'.');
    return nokta < 0 ? QString() : surum.left(nokta);
}

void ekle(QList<Satir>& satirlar, const QString& bilgi, const QString& deger) {
    satirlar.append({bilgi, deger});
}

QString tekDeger(const Sorgu& sorgu, const QString& sql) {
    const Sonuc s = sorgu(sql, {});
    return s.isEmpty() || s.first().isEmpty() ? QString() : s.first().first().toString();
}

} // namespace

int SurumNumarasi(const Sonuc& sonuc) {
    if (sonuc.isEmpty()) return 0;
    const QString surum = metin(sonuc.first(), QStringLiteral("PRODUCTVERSION"));
    if (!surum.contains(u'.')) return 0;
    const QString ana = anaSurum(surum);
    bool ok = false;
    const int n = ana.toInt(&ok);
    if (!ok) throw db::DbError(QStringLiteral("'%1' geçerli bir tamsayı değeri değil").arg(ana));
    return n;
}

QString SunucuTanimi(const Sonuc& sonuc) {
    if (sonuc.isEmpty()) return {};
    const Kayit& k = sonuc.first();
    const QString surum = metin(k, QStringLiteral("PRODUCTVERSION"));
    static const QHash<QString, QString> urunler = {
        {QStringLiteral("8"), QStringLiteral("SQL Server 2000")},
        {QStringLiteral("9"), QStringLiteral("SQL Server 2005")},
        {QStringLiteral("10"), QStringLiteral("SQL Server 2008")},
        {QStringLiteral("11"), QStringLiteral("SQL Server 2012")},
        {QStringLiteral("12"), QStringLiteral("SQL Server 2014")},
    };
    return urunler.value(anaSurum(surum)) + u' ' + metin(k, QStringLiteral("PRODUCTLEVEL")) + u' ' +
           metin(k, QStringLiteral("EDITION")) + u' ' + surum;
}

std::optional<QString> BellekDurumu(const QVariant& yuksek, const QVariant& dusuk) {
    if (yuksek.isNull() || dusuk.isNull()) return std::nullopt;
    const bool y = yuksek.toInt() != 0;
    const bool d = dusuk.toInt() != 0;
    if (y && !d) return QStringLiteral("Boş bellek miktarı yüksek");
    if (!y && d) return QStringLiteral("Boş bellek miktarı düşük!");
    if (!y && !d) return QStringLiteral("Bellek kulllanımı iyi durumda");
    return QStringLiteral("Bellek kullanımı geçiş durumunda");
}

QString SayiBicimle(const QString& desen, double deger, const QLocale& locale) {
    const qsizetype nokta = desen.indexOf(u'.');
    const QString tamDesen = nokta < 0 ? desen : desen.left(nokta);
    const QString kesirDesen = nokta < 0 ? QString() : desen.mid(nokta + 1);
    const bool grupla = tamDesen.contains(u',');
    const qsizetype gerekliTam = tamDesen.count(u'0');
    const qsizetype enCokKesir = kesirDesen.count(u'#') + kesirDesen.count(u'0');
    const qsizetype gerekliKesir = kesirDesen.count(u'0');

    const bool eksi = deger < 0;
    const QString sayi = QString::number(std::fabs(deger), 'f', int(enCokKesir));
    const qsizetype ayrac = sayi.indexOf(u'.');
    QString tam = ayrac < 0 ? sayi : sayi.left(ayrac);
    QString kesir = ayrac < 0 ? QString() : sayi.mid(ayrac + 1);

    if (tam == QLatin1String("0")) tam.clear(); // "#" shows no digit for a zero
    while (tam.size() < gerekliTam)
        tam.prepend(u'0');
    if (grupla)
        for (qsizetype i = tam.size() - 3; i > 0; i -= 3)
            tam.insert(i, locale.groupSeparator());
    while (kesir.size() > gerekliKesir && kesir.endsWith(u'0'))
        kesir.chop(1);

    QString sonuc = tam;
    if (!kesir.isEmpty()) sonuc += locale.decimalPoint() + kesir;
    if (eksi && !sonuc.isEmpty()) sonuc.prepend(locale.negativeSign());
    return sonuc;
}

QString DosyaDegeri(const QString& fizikselAd, double boyutMB, const QLocale& locale) {
    const QString boyut =
        boyutMB < 1024
            ? SayiBicimle(QStringLiteral("###,###,###.##"), boyutMB, locale) + QStringLiteral(" MB)")
            : SayiBicimle(QStringLiteral("###,###,##0.00"), boyutMB / 1024, locale) + QStringLiteral(" GB)");
    return fizikselAd + QStringLiteral("  (") + boyut;
}

void SqlServerSatirlari(const Sorgu& genel, const Sorgu& genel2, const QString& databaseAdi,
                        QList<Satir>& satirlar) {
    satirlar.clear();
    if (SurumNumarasi(genel2(sql::urunSurumu(), {})) < 9) {
        ekle(satirlar, QStringLiteral("BİLGİ"), QStringLiteral("Sadece SQL Server 2005 ve üzerinde"));
        ekle(satirlar, QString(), QStringLiteral("bu bilgiler görüntülenebilir"));
        return;
    }

    const Sonuc bellek = genel(sql::bellek(), {});
    if (bellek.isEmpty()) return;
    const Kayit& b = bellek.first();
    const auto mb = [&](const char* kolon) { return metin(b, QLatin1String(kolon)) + QStringLiteral(" MB"); };
    ekle(satirlar, QStringLiteral("Sunucu Adı"), metin(b, QStringLiteral("SERVERNAME")));
    ekle(satirlar, QStringLiteral("Veritabanı"), SunucuTanimi(genel2(sql::urunBilgisi(), {})));
    ekle(satirlar, QStringLiteral("Toplam Fiziksel Bellek"), mb("total_physical_memory_mb"));
    ekle(satirlar, QStringLiteral("Boştaki Fiziksel Bellek"), mb("available_physical_memory_mb"));
    ekle(satirlar, QStringLiteral("Disk Belleği Havuzu"), mb("total_page_file_mb"));
    ekle(satirlar, QStringLiteral("Disk Belleği Olmayan Havuz"), mb("available_page_file_mb"));
    if (const auto durum = BellekDurumu(deger(b, QStringLiteral("system_high_memory_signal_state")),
                                        deger(b, QStringLiteral("system_low_memory_signal_state"))))
        ekle(satirlar, QStringLiteral("Boş Bellek Durumu"), *durum);

    const Sonuc islemci = genel(sql::islemci(), {});
    if (!islemci.isEmpty())
        ekle(satirlar, QStringLiteral("Sunucu İşlemci Çekirdek Sayısı"),
             metin(islemci.first(), QStringLiteral("cpu_count")));

    const Sonuc baglanti = genel(sql::baglanti(), {});
    if (!baglanti.isEmpty()) {
        ekle(satirlar, QStringLiteral("Sunucu IP Adresi"),
             metin(baglanti.first(), QStringLiteral("SQLServerIP")));
        ekle(satirlar, QStringLiteral("İstemci IP Adresi"),
             metin(baglanti.first(), QStringLiteral("ClientIP")));
    }

    for (const Kayit& d : genel(sql::dosyalar(), {{QStringLiteral("DATABASEADI"), databaseAdi}}))
        ekle(satirlar, metin(d, QStringLiteral("Logical_Name")),
             DosyaDegeri(metin(d, QStringLiteral("Physical_Name")),
                         deger(d, QStringLiteral("SizeMB")).toLongLong()));

    const Sonuc kullanici = genel(sql::kullanici(), {});
    if (!kullanici.isEmpty())
        ekle(satirlar, QStringLiteral("Kullanıcı"), metin(kullanici.first(), QStringLiteral("KULLANICI")));
}

void SqliteSatirlari(const Sorgu& genel, QList<Satir>& satirlar) {
    satirlar.clear();
    ekle(satirlar, QStringLiteral("Veritabanı"),
         QStringLiteral("SQLite ") + tekDeger(genel, sql::sqliteSurum()));
    const qint64 sayfaBoyutu = tekDeger(genel, sql::sqliteSayfaBoyutu()).toLongLong();
    const qint64 sayfaSayisi = tekDeger(genel, sql::sqliteSayfaSayisi()).toLongLong();
    for (const Kayit& d : genel(sql::sqliteDosya(), {})) {
        // the exact size is known here, so small files show two decimals instead of nothing
        const double mbBoyut = double(sayfaBoyutu * sayfaSayisi) / (1024.0 * 1024.0);
        const QString yol = metin(d, QStringLiteral("Physical_Name"));
        ekle(satirlar, metin(d, QStringLiteral("Logical_Name")),
             mbBoyut < 1024
                 ? yol + QStringLiteral("  (") + SayiBicimle(QStringLiteral("###,###,##0.00"), mbBoyut) +
                       QStringLiteral(" MB)")
                 : DosyaDegeri(yol, mbBoyut));
    }
    ekle(satirlar, QStringLiteral("Sayfa Boyutu"), QString::number(sayfaBoyutu) + QStringLiteral(" bayt"));
    ekle(satirlar, QStringLiteral("Sayfa Sayısı"), QString::number(sayfaSayisi));
    ekle(satirlar, QStringLiteral("Günlük Kipi"), tekDeger(genel, sql::sqliteGunlukKipi()));
}

Sonuc Calistir(db::Dataset& sorgu, const QString& sql, const QVariantMap& params) {
    sorgu.close();
    sorgu.setSql(QString());
    sorgu.setSql(sql);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        sorgu.setParam(it.key(), it.value());
    sorgu.open();
    Sonuc sonuc;
    for (sorgu.first(); !sorgu.eof(); sorgu.next()) {
        Kayit k;
        for (int i = 0; i < sorgu.fieldCount(); ++i)
            k.insert(sorgu.field(i).name(), sorgu.value(i));
        sonuc.append(k);
    }
    sorgu.close();
    return sonuc;
}

namespace {
Sorgu sorguIle(db::Dataset& ds) {
    return [&ds](const QString& sql, const QVariantMap& params) { return Calistir(ds, sql, params); };
}
} // namespace

int SQLServer_Version() {
    if (DM1->TarvoDB.backend() != db::Backend::SqlServer) return 0;
    return SurumNumarasi(Calistir(DM1->QryGenel2, sql::urunSurumu()));
}

QString SQLServer_Name() {
    if (DM1->TarvoDB.backend() == db::Backend::Sqlite)
        return QStringLiteral("SQLite ") + tekDeger(sorguIle(DM1->QryGenel2), sql::sqliteSurum());
    return SunucuTanimi(Calistir(DM1->QryGenel2, sql::urunBilgisi()));
}

void SunucuBilgileriniDoldur(QList<Satir>& satirlar) {
    if (DM1->TarvoDB.backend() == db::Backend::Sqlite)
        SqliteSatirlari(sorguIle(DM1->QryGenel), satirlar);
    else
        SqlServerSatirlari(sorguIle(DM1->QryGenel), sorguIle(DM1->QryGenel2), DM1->DatabaseAdi, satirlar);
}

} // namespace diag
