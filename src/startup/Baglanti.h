#pragma once

#include "platform/db/Dialect.h"

#include <QString>
#include <QStringList>

namespace startup {

// The connection settings of the configuration file, section [Baglanti].
struct BaglantiAyarlari {
    QString dosya;        // the configuration file these came from (or would have)
    db::Backend surucu = db::Backend::Sqlite;
    QString SunucuAdi;    // SQLite: the database file
    QString DatabaseAdi;
    QString DatabaseKullanici;
    QString DatabaseSifre;
    QString OdbcSurucu;   // SQL Server: the ODBC driver's name (default FreeTDS)
};

// Where the configuration is looked for, first match wins: --config FILE, then
// TarvoAntrepo.ini beside the program, then the user's configuration folder.
QStringList configCandidates(const QString& explicitPath);
QString findConfigFile(const QString& explicitPath);

// Reads the file; a missing file gives empty settings. A relative SQLite path is taken
// relative to the file's folder.
BaglantiAyarlari readConfig(const QString& file);

// The ADO-style connection string that start-up assigns to the connection.
QString BaglantiCumlesi(const QString& SunucuAdi, const QString& DatabaseAdi, const QString& DatabaseKullanici,
                        const QString& DatabaseSifre);

} // namespace startup
