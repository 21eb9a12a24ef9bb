#include "startup/Baglanti.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace startup {

QStringList configCandidates(const QString& explicitPath) {
    if (!explicitPath.isEmpty())
        return {explicitPath};
    QStringList out;
    out << QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("TarvoAntrepo.ini"));
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!userDir.isEmpty())
        out << QDir(userDir).filePath(QStringLiteral("TarvoAntrepo/TarvoAntrepo.ini"));
    return out;
}

QString findConfigFile(const QString& explicitPath) {
    const QStringList c = configCandidates(explicitPath);
    for (const auto& f : c)
        if (QFileInfo(f).isFile())
            return f;
    return c.value(c.size() - 1);
}

BaglantiAyarlari readConfig(const QString& file) {
    BaglantiAyarlari a;
    a.dosya = file;
    if (!QFileInfo(file).isFile())
        return a;
    QSettings s(file, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Baglanti"));
    const QString surucu = s.value(QStringLiteral("Surucu"), QStringLiteral("sqlite")).toString().trimmed().toLower();
    a.surucu = surucu == QStringLiteral("sqlserver") ? db::Backend::SqlServer : db::Backend::Sqlite;
    a.SunucuAdi = s.value(QStringLiteral("SunucuAdi")).toString();
    a.DatabaseAdi = s.value(QStringLiteral("DatabaseAdi")).toString();
    a.DatabaseKullanici = s.value(QStringLiteral("DatabaseKullanici")).toString();
    a.DatabaseSifre = s.value(QStringLiteral("DatabaseSifre")).toString();
    a.OdbcSurucu = s.value(QStringLiteral("OdbcSurucu")).toString();
    s.endGroup();
    if (a.surucu == db::Backend::Sqlite && !a.SunucuAdi.isEmpty() && QFileInfo(a.SunucuAdi).isRelative())
        a.SunucuAdi = QFileInfo(file).absoluteDir().filePath(a.SunucuAdi);
    return a;
}

QString BaglantiCumlesi(const QString& SunucuAdi, const QString& DatabaseAdi, const QString& DatabaseKullanici,
                        const QString& DatabaseSifre) {
    const QString tail = QStringLiteral(";Use Procedure for Prepare=1;Auto Translate=True;Packet Size=4096;"
                                        "Workstation ID=ZOVARUDID;Use Encryption for Data=False;"
                                        "Tag with column collation when possible=False");
    if (DatabaseKullanici == QStringLiteral("windowsdomainuser"))
        return QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Password=;Persist Security Info=True;"
                              "User ID=;Initial Catalog=") +
               DatabaseAdi + QStringLiteral(";Data Source=") + SunucuAdi + tail;
    return QStringLiteral("Provider=SQLOLEDB.1;Password=\"") + DatabaseSifre +
           QStringLiteral("\";Persist Security Info=True;User ID=") + DatabaseKullanici +
           QStringLiteral(";Initial Catalog=") + DatabaseAdi + QStringLiteral(";Data Source=") + SunucuAdi + tail;
}

} // namespace startup
