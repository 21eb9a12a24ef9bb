#include "operations/AntrepoIslemSil.h"

#include "platform/db/DbError.h"
#include "platform/ui/ErrorDisplay.h"
#include "platform/ui/Messages.h"
#include "schema/DataModule1.h"

namespace operations {

namespace {

void ac(db::Dataset& ds, const QString& param, const QVariant& id) {
    ds.close();
    ds.setParam(param, id);
    ds.open();
}

void hepsiniSil(db::Dataset& ds) {
    while (!ds.isEmpty())
        ds.deleteRow();
}

} // namespace

bool AntrepoIslemSil(TDM1& dm) {
    db::Dataset& liste = dm.AQANT_Beyanname;
    if (!liste.active() || liste.recordCount() <= 0) return false;
    if (!ui::ConfirmYesNo(QStringLiteral("Antrepo işlem kaydını silmek istiyor musunuz?"))) return false;

    const QString hareketParam = QStringLiteral("ANTHAREKETID");
    const QString beyannameParam = QStringLiteral("ANTBEYANNAMEID");
    bool listedenSilindi = false;
    try {
        db::Transaction islem(dm.TarvoDB);
        const QVariant id = liste.value(QStringLiteral("ANTBEYANNAMEID"));
        // children first: the foreign keys do not cascade
        ac(dm.AQANT_Hareket, beyannameParam, id);
        while (!dm.AQANT_Hareket.isEmpty()) {
            const QVariant hareketId = dm.AQANT_Hareket.value(QStringLiteral("ANTHAREKETID"));
            ac(dm.AQANT_OzetBeyan, hareketParam, hareketId);
            hepsiniSil(dm.AQANT_OzetBeyan);
            ac(dm.AQANT_Acma, hareketParam, hareketId);
            hepsiniSil(dm.AQANT_Acma);
            dm.AQANT_Hareket.deleteRow();
        }
        dm.AQANT_Hareket.close();
        ac(dm.AQANT_Teminat, beyannameParam, id);
        hepsiniSil(dm.AQANT_Teminat);
        dm.AQANT_Teminat.close();
        liste.deleteRow();
        listedenSilindi = true;
        islem.commit();
    } catch (const db::DbError& e) {
        // the children's datasets hold rows that the roll-back has brought back
        dm.AQANT_Hareket.close();
        dm.AQANT_OzetBeyan.close();
        dm.AQANT_Acma.close();
        dm.AQANT_Teminat.close();
        if (listedenSilindi) // only the commit failed: the row is still in the table
            ui::runCommand([&] { liste.refresh(); });
        ui::ShowMessage(QStringLiteral("HATA: ") + e.message() +
                        QStringLiteral(" - Antrepo işlemi silinemedi!"));
        return false;
    }
    dm.AQANT_OzetBeyan.close();
    dm.AQANT_Acma.close();
    ui::ShowMessage(QStringLiteral("BİLGİ: Antrepo işlemi silindi."));
    return true;
}

} // namespace operations
