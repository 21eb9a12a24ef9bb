#include "reports/RaporLink.h"

#include "platform/system/Files.h"
#include "platform/ui/ErrorDisplay.h"
#include "schema/DataModule1.h"

namespace reports {

QString ReportLink() {
    QString link;
    db::Dataset& ds = DM1->AQANT_Sabitler;
    ds.close();
    ds.open();
    if (!ds.isEmpty())
        link = ds.field(QStringLiteral("RAPORLINK")).asString(); // blanks are a value, not trimmed
    if (link.isEmpty()) link = VarsayilanRaporLink;
    ds.close();
    return link;
}

QString RaporSistemiAdresi() {
    return ReportLink() + QString::number(DM1->KullaniciId);
}

void RaporSisteminiAc() {
    QString address;
    if (ui::runCommand([&] { address = RaporSistemiAdresi(); })) sys::OpenAddress(address);
}

} // namespace reports
