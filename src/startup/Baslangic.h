#pragma once

#include "startup/Baglanti.h"

#include <functional>

class TDM1;

namespace startup {

// Exit codes of a start-up that ends the program.
enum Cikis : int {
    Devam = 0,             // go on to the main window
    SunucuYok = 2,         // no server configured
    BaglantiHatasi = 3,    // the connection could not be opened
    VeritabaniHatasi = 4,  // a database error while preparing the database
    GirisYapilmadi = 5,    // no successful login
    GuncellemeBasladi = 6, // the updater was started for a newer build
};

struct Adimlar {
    // Step 10: refresh the updater and offer a newer build; false ends the program.
    std::function<bool(TDM1&)> guncellemeKontrol;
    // Step 11: the login; the program goes on only when it leaves LogonOK true.
    std::function<void(TDM1&)> giris;
};

// Runs the start-up sequence on a freshly created data module. Returns Devam when the
// main window may follow, otherwise the exit code of the program.
int BaslangicSirasi(TDM1& dm, const BaglantiAyarlari& ayarlar, const Adimlar& adimlar);

// Steps 5 to 9: columns, tables, upgrades, shared settings, warehouse settings row.
void VeritabaniniHazirla(TDM1& dm);

} // namespace startup
