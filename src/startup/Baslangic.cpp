#include "startup/Baslangic.h"

#include "platform/db/DbError.h"
#include "platform/ui/ErrorDisplay.h"
#include "platform/ui/Messages.h"
#include "schema/DataModule1.h"

namespace startup {

namespace {

void PaylasilanAyarlariOku(TDM1& dm) {
    dm.DsSabitler.close();
    dm.DsSabitler.open();
    if (!dm.DsSabitler.isEmpty()) {
        dm.DsSabitler.first();
        dm.LOKASYONADI = dm.DsSabitler.value(QStringLiteral("LOKASYONADI")).toString();
        dm.DOMAINUSERKULLANILACAK = dm.DsSabitler.value(QStringLiteral("DOMAINUSERKULLANILACAK")).toBool();
    } else {
        dm.LOKASYONADI.clear();
        dm.DOMAINUSERKULLANILACAK = false;
    }
    dm.DsSabitler.close();

    // Stamp the build number into the first SABITLER row when it differs.
    db::Dataset& q = dm.IMQuery;
    q.close();
    q.setSql(QStringLiteral("SELECT SABITID,TARVOANTREPOVERSION FROM SABITLER"));
    q.open();
    if (!q.isEmpty()) {
        q.first();
        const QVariant sabitId = q.value(QStringLiteral("SABITID"));
        const double stored = q.value(QStringLiteral("TARVOANTREPOVERSION")).toDouble();
        const double derleme = dm.Derleme.toDouble();
        const bool differs = q.value(QStringLiteral("TARVOANTREPOVERSION")).isNull() || stored != derleme;
        q.close();
        if (differs) {
            dm.IMCommand.setText(QStringLiteral("UPDATE SABITLER SET TARVOANTREPOVERSION = :VERSION WHERE SABITID = :SABITID"));
            dm.IMCommand.setParam(QStringLiteral("VERSION"), derleme);
            dm.IMCommand.setParam(QStringLiteral("SABITID"), sabitId);
            dm.IMCommand.execute();
        }
    }
    q.close();
}

void AntrepoAyarSatiri(TDM1& dm) {
    db::Dataset& s = dm.AQANT_Sabitler;
    s.close();
    s.open();
    if (s.isEmpty()) {
        s.append();
        s.setValue(QStringLiteral("STANDARTVERIKAYNAK"), 0);
        for (int n = 1; n <= 4; ++n)
            s.setValue(QStringLiteral("EXTSERVIS%1AKTIF").arg(n), false);
        s.post();
    }
    s.close();
}

} // namespace

void VeritabaniniHazirla(TDM1& dm) {
    dm.ProgramKolonlariEkle();   // 5
    dm.TablolariOlustur();       // 6
    dm.KolonlariGuncelle();      // 7
    PaylasilanAyarlariOku(dm);   // 8
    AntrepoAyarSatiri(dm);       // 9
}

int BaslangicSirasi(TDM1& dm, const BaglantiAyarlari& ayarlar, const Adimlar& adimlar) {
    // 1
    dm.Uyarlama = QStringLiteral("1.0");
    dm.Derleme = QStringLiteral("28");
    dm.SunucuAdi.clear();
    dm.DatabaseAdi.clear();
    dm.DatabaseKullanici.clear();
    dm.DatabaseSifre.clear();
    // 2
    dm.SunucuAdi = ayarlar.SunucuAdi;
    dm.DatabaseAdi = ayarlar.DatabaseAdi;
    dm.DatabaseKullanici = ayarlar.DatabaseKullanici;
    dm.DatabaseSifre = ayarlar.DatabaseSifre;
    // 3
    if (dm.SunucuAdi.isEmpty()) {
        ui::ShowMessage(QStringLiteral("HATA: Veritabanı sunucusu ayarlanmamış. Bağlantı ayarlarını [Baglanti] "
                                       "bölümüne yazınız: %1")
                            .arg(ayarlar.dosya));
        return SunucuYok;
    }
    // 4
    try {
        dm.TarvoDB.open(ayarlar.surucu,
                        BaglantiCumlesi(dm.SunucuAdi, dm.DatabaseAdi, dm.DatabaseKullanici, dm.DatabaseSifre),
                        ayarlar.OdbcSurucu);
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "TarvoAntrepo bağlantı: %s\n", qPrintable(e.message()));
        ui::ShowMessage(QStringLiteral("HATA: Veritabanı bağlantısı kurulamadı! Lütfen bağlantı ayarlarınızı "
                                       "kontrol ediniz..."));
        return BaglantiHatasi;
    }
    // 5 to 9; a database error here ends the start-up with the server's message
    if (!ui::runCommand([&] { VeritabaniniHazirla(dm); }))
        return VeritabaniHatasi;
    // 10
    bool devam = true;
    if (adimlar.guncellemeKontrol && !ui::runCommand([&] { devam = adimlar.guncellemeKontrol(dm); }))
        return VeritabaniHatasi;
    if (!devam)
        return GuncellemeBasladi;
    // 11
    dm.LogonOK = false;
    if (adimlar.giris && !ui::runCommand([&] { adimlar.giris(dm); }))
        return GirisYapilmadi;
    if (!dm.LogonOK)
        return GirisYapilmadi;
    // 12
    return Devam;
}

} // namespace startup
