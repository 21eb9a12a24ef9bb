#pragma once

#include <QDateTime>
#include <QString>

class TDM1;

namespace startup {

// Local file names in the program folder: the Windows names, without ".exe" elsewhere.
QString GuncelleDosyaAdi(); // the updater
QString ProgramDosyaAdi();  // the program file compared with the stored build

struct DosyaBilgisi {
    qint64 boyu = -1; // -1 when the file does not exist
    QDateTime tarihi; // last-write time, local; null when the file cannot be read
};
DosyaBilgisi DosyaBoyuHesapla(const QString& dosya);

// Equal down to the minute; a missing time equals nothing.
bool TarihlerEsit(const QDateTime& a, const QDateTime& b);

// Keeps the updater in the program folder equal to the one stored in ACTIVKEY.
void GuncelleUpgradeCheck(TDM1& dm, const QString& programKlasoru);

// Compares the program file with the stored build and offers the update. Returns true when
// the updater was started and the program must end.
bool YeniDerlemeKontrol(TDM1& dm, const QString& programKlasoru);

// Both checks on the given program folder; false when the program must end.
bool GuncellemeKontrolKlasorde(TDM1& dm, const QString& programKlasoru);

// Start-up step 10 on the running program's folder; false when the program must end.
bool GuncellemeKontrol(TDM1& dm);

} // namespace startup
