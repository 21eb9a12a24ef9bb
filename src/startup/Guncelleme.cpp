#include "startup/Guncelleme.h"

#include "platform/system/Files.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Modal.h"
#include "schema/DataModule1.h"
#include "startup/formGuncellemeSorusu.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QSaveFile>

namespace startup {

namespace {

const QString kProgramKaydi = QStringLiteral("TarvoAntrepo");
const QString kGuncelleParametre = QStringLiteral("AUTO TARVOANTREPO");

QString dosyaAdi(const QString& ad) {
#ifdef Q_OS_WIN
    return ad + QStringLiteral(".exe");
#else
    return ad;
#endif
}

// Short date and long time of the locale; the zone the long form may carry is left out.
QString tarihMetni(const QDateTime& dt) {
    if (!dt.isValid()) return {};
    const QLocale l;
    QString saat = l.timeFormat(QLocale::LongFormat);
    saat.remove(u't');
    return l.toString(dt, l.dateFormat(QLocale::ShortFormat) + u' ' + saat.trimmed());
}

// Writes the stored updater; false (with a message) when it cannot be written.
bool GuncelleYaz(const QString& yol, const QByteArray& icerik) {
    QSaveFile f(yol);
    if (!f.open(QIODevice::WriteOnly) || f.write(icerik) != icerik.size() || !f.commit()) {
        ui::ShowMessage(QStringLiteral("HATA: %1 yazılamadı: %2").arg(GuncelleDosyaAdi(), f.errorString()));
        return false;
    }
#ifndef Q_OS_WIN
    // a fresh file has no execute bit, and the updater has to be started
    QFile::setPermissions(yol, QFile::permissions(yol) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
#endif
    return true;
}

} // namespace

QString GuncelleDosyaAdi() {
    return dosyaAdi(QStringLiteral("guncelle"));
}

QString ProgramDosyaAdi() {
    return dosyaAdi(QStringLiteral("TarvoAntrepo"));
}

DosyaBilgisi DosyaBoyuHesapla(const QString& dosya) {
    return {sys::FileSize(dosya), sys::FileLastWriteTime(dosya)};
}

bool TarihlerEsit(const QDateTime& a, const QDateTime& b) {
    if (!a.isValid() || !b.isValid()) return false;
    const QString bicim = QStringLiteral("dd.MM.yyyy hh:mm:ss");
    return a.toString(bicim).left(16) == b.toString(bicim).left(16);
}

void GuncelleUpgradeCheck(TDM1& dm, const QString& programKlasoru) {
    const QString yol = QDir(programKlasoru).filePath(GuncelleDosyaAdi());
    const DosyaBilgisi yerel = DosyaBoyuHesapla(yol);
    const bool var = yerel.boyu >= 0;

    db::Dataset& ak = dm.DsActivKey;
    ak.close();
    ak.open();
    bool yenile = false;
    if (!ak.isEmpty()) {
        ak.first();
        const qint64 boyu = ak.field(QStringLiteral("GUNCELLEEXESIZE")).asLargeInt();
        const QDateTime tarihi = ak.field(QStringLiteral("GUNCELLEEXEDATETIME")).asDateTime();
        if (boyu > 10 && var) yenile = yerel.boyu != boyu || !TarihlerEsit(yerel.tarihi, tarihi);
    }
    ak.close();
    if (!yenile && !var) yenile = true;
    if (!yenile) return;

    db::Dataset& g = dm.DsGuncelle;
    g.close();
    g.open();
    QByteArray icerik;
    QDateTime tarihi;
    if (!g.isEmpty()) {
        g.first();
        icerik = g.field(QStringLiteral("GUNCELLEEXE")).asBytes();
        tarihi = g.field(QStringLiteral("GUNCELLEEXEDATETIME")).asDateTime();
    }
    g.close();
    // nothing stored: leave the folder alone rather than write an empty updater
    if (icerik.isEmpty()) return;
    if (!GuncelleYaz(yol, icerik)) return;
    if (!sys::SetFileDateTime(yol, tarihi))
        ui::ShowMessage(QStringLiteral("HATA: %1 tarihi düzeltilemedi...").arg(GuncelleDosyaAdi()));
    ui::ShowMessage(QStringLiteral("\"%1\" uygulamasının yeni derlemesi indirildi.").arg(GuncelleDosyaAdi()));
}

bool YeniDerlemeKontrol(TDM1& dm, const QString& programKlasoru) {
    const DosyaBilgisi yerel = DosyaBoyuHesapla(QDir(programKlasoru).filePath(ProgramDosyaAdi()));

    db::Dataset& eu = dm.DsExeUpgrade;
    eu.close();
    eu.setParam(QStringLiteral("NAME"), kProgramKaydi);
    eu.open();
    if (eu.isEmpty()) {
        eu.close();
        return false;
    }
    eu.first();
    const qint64 boyu = eu.field(QStringLiteral("EXESIZE")).asLargeInt();
    const QDateTime tarihi = eu.field(QStringLiteral("EXEDATETIME")).asDateTime();
    eu.close();

    const bool farkli = (boyu > 100 && boyu != yerel.boyu) || !TarihlerEsit(yerel.tarihi, tarihi);
    if (!farkli) return false;

    const QStringList satirlar{
        QDir::toNativeSeparators(QCoreApplication::applicationFilePath()),
        QString(),
        QStringLiteral("Diskteki dosya boyu     : %1 bytes").arg(yerel.boyu),
        QStringLiteral("Diskteki dosya tarihi   : ") + tarihMetni(yerel.tarihi),
        QString(),
        QStringLiteral("Sunucudaki dosya boyu   : %1 bytes").arg(boyu),
        QStringLiteral("Sunucudaki dosya tarihi : ") + tarihMetni(tarihi),
    };
    TfrmGuncellemeSorusu soru(satirlar);
    ui::execModal(soru);
    if (!soru.GuncellemeYap) return false;
    const QDir klasor(programKlasoru);
    sys::StartProgram(QDir::toNativeSeparators(klasor.absoluteFilePath(GuncelleDosyaAdi())),
                      kGuncelleParametre, QDir::toNativeSeparators(klasor.absolutePath()));
    return true;
}

bool GuncellemeKontrolKlasorde(TDM1& dm, const QString& programKlasoru) {
    GuncelleUpgradeCheck(dm, programKlasoru);
    return !YeniDerlemeKontrol(dm, programKlasoru);
}

bool GuncellemeKontrol(TDM1& dm) {
    return GuncellemeKontrolKlasorde(dm, QCoreApplication::applicationDirPath());
}

} // namespace startup
