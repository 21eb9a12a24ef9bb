#include "schema/DataModule1.h"

#include "schema/WarehouseTables.h"

using db::FieldDef;

TDM1* DM1 = nullptr;

namespace {

schema::CodeNameCache codeTable(const QString& table) {
    return schema::CodeNameCache(QStringLiteral("SELECT KODU, ADI FROM ") + table,
                                 QStringLiteral("SELECT ADI FROM ") + table + QStringLiteral(" WHERE KODU = :KEY"));
}

const db::FieldList& beyannameFields() {
    static const db::FieldList f = {
        FieldDef::identityField(QStringLiteral("ANTBEYANNAMEID")),
        FieldDef::integer(QStringLiteral("DOSYAYIL")),
        FieldDef::integer(QStringLiteral("DOSYASIRA")),
        FieldDef::integer(QStringLiteral("GIRISCIKIS")),
        FieldDef::calcText(QStringLiteral("GIRISCIKISSTR"), 5),
        FieldDef::text(QStringLiteral("TESCILNO"), 24),
        FieldDef::dateTime(QStringLiteral("TESCILTARIHI")),
        FieldDef::text(QStringLiteral("ANTREPOKODU"), 10),
        FieldDef::integer(QStringLiteral("KAPADEDI")),
        FieldDef::text(QStringLiteral("GUMRUKKODU"), 6),
        FieldDef::calcText(QStringLiteral("GUMRUKKODUSTR"), 35),
        FieldDef::text(QStringLiteral("BEYANTURU"), 2),
        FieldDef::text(QStringLiteral("REJIMKODU"), 4),
        FieldDef::decimal(QStringLiteral("BRUTKG")),
        FieldDef::decimal(QStringLiteral("NETKG")),
        FieldDef::text(QStringLiteral("FIRMA"), 60),
        FieldDef::text(QStringLiteral("TASIYICIFIRMA"), 60),
        FieldDef::text(QStringLiteral("ANTREPOSAHIBI"), 60),
        FieldDef::text(QStringLiteral("CIKISTAKIARACINTIPININKODU"), 1),
        FieldDef::calcText(QStringLiteral("CIKISTAKIARACINTIPISTR"), 20),
        FieldDef::text(QStringLiteral("CIKISTAKIARACINKIMLIGI"), 35),
        FieldDef::dateTime(QStringLiteral("ESYACIKISTARIHI")),
        FieldDef::largeInt(QStringLiteral("SAYIMTUTANAKNUMARASI")),
        FieldDef::text(QStringLiteral("GUMRUKTUTANAKNO"), 20),
        FieldDef::dateTime(QStringLiteral("GUMRUKTUTANAKTARIHI")),
        FieldDef::text(QStringLiteral("KAPESYACINSI"), 30),
        FieldDef::integer(QStringLiteral("SAYIMTUTANAKKG")),
        FieldDef::text(QStringLiteral("ACIKLAMA"), 255),
        FieldDef::boolean(QStringLiteral("DEVIR")),
        FieldDef::dateTime(QStringLiteral("KAYITZAMANI")),
        FieldDef::integer(QStringLiteral("KULLANICI")),
        FieldDef::calcText(QStringLiteral("KULLANICISTR"), 30),
    };
    return f;
}

} // namespace

TDM1::TDM1(QObject* parent)
    : QObject(parent), AQANT_Beyanname(&TarvoDB, QStringLiteral("AQANT_Beyanname"), this),
      AQANT_Hareket(&TarvoDB, QStringLiteral("AQANT_Hareket"), this),
      AQANT_Teminat(&TarvoDB, QStringLiteral("AQANT_Teminat"), this),
      AQANT_OzetBeyan(&TarvoDB, QStringLiteral("AQANT_OzetBeyan"), this),
      AQANT_Acma(&TarvoDB, QStringLiteral("AQANT_Acma"), this),
      AQANT_Sabitler(&TarvoDB, QStringLiteral("AQANT_Sabitler"), this),
      AQANT_BeyannameQRP(&TarvoDB, QStringLiteral("AQANT_BeyannameQRP"), this),
      QryAntDosyaNo(&TarvoDB, QStringLiteral("QryAntDosyaNo"), this),
      QryMaxAntDosyaNo(&TarvoDB, QStringLiteral("QryMaxAntDosyaNo"), this),
      DsSabitler(&TarvoDB, QStringLiteral("DsSabitler"), this), DsActivKey(&TarvoDB, QStringLiteral("DsActivKey"), this),
      DsGuncelle(&TarvoDB, QStringLiteral("DsGuncelle"), this),
      DsExeUpgrade(&TarvoDB, QStringLiteral("DsExeUpgrade"), this), IMQuery(&TarvoDB, QStringLiteral("IMQuery"), this),
      QryGenel(&TarvoDB, QStringLiteral("QryGenel"), this), QryGenel2(&TarvoDB, QStringLiteral("QryGenel2"), this),
      IMCommand(&TarvoDB), m_tasimaAraclari(codeTable(QStringLiteral("TASIMAARACLARI"))),
      m_gumrukler(codeTable(QStringLiteral("GUMRUKLER"))), m_ambalajlar(codeTable(QStringLiteral("GMRAMBALAJLAR"))),
      m_teminatTurleri(codeTable(QStringLiteral("TEMINATTURLERI"))),
      m_kullanicilar(QStringLiteral("SELECT KULLANICIID, ADISOYADI FROM KULLANICI"),
                     QStringLiteral("SELECT ADISOYADI FROM KULLANICI WHERE KULLANICIID = :KEY")) {
    setupDatasets();
}

TDM1::~TDM1() {
    DataModuleDestroy();
}

void TDM1::DataModuleDestroy() {
    TarvoDB.close();
}

void TDM1::setupDatasets() {
    // AQANT_Beyanname: names looked up once per open
    AQANT_Beyanname.setSql(QStringLiteral("SELECT * FROM ANT_BEYANNAME"));
    AQANT_Beyanname.setFields(beyannameFields());
    AQANT_Beyanname.setBaseTable(QStringLiteral("ANT_BEYANNAME"), QStringLiteral("ANTBEYANNAMEID"));
    AQANT_Beyanname.setBeforeOpen([this](db::Dataset&) {
        m_tasimaAraclari.reload(TarvoDB);
        m_kullanicilar.reload(TarvoDB);
        m_gumrukler.reload(TarvoDB);
    });
    AQANT_Beyanname.setOnCalcFields([this](db::Dataset& ds) { calcBeyanname(ds); });

    AQANT_Hareket.setSql(QStringList{QStringLiteral("SELECT * FROM ANT_HAREKET"),
                                     QStringLiteral("WHERE ANTBEYANNAMEID = :ANTBEYANNAMEID")});
    AQANT_Hareket.setFields({
        FieldDef::identityField(QStringLiteral("ANTHAREKETID")),
        FieldDef::integer(QStringLiteral("ANTBEYANNAMEID")),
        FieldDef::integer(QStringLiteral("KALEMSIRANO")),
        FieldDef::text(QStringLiteral("GTIP"), 16),
        FieldDef::text(QStringLiteral("TICARITANIMI"), 210),
        FieldDef::text(QStringLiteral("KAPCINSI"), 9),
        FieldDef::calcText(QStringLiteral("KAPCINSISTR"), 80),
        FieldDef::integer(QStringLiteral("KAPADEDI")),
        FieldDef::text(QStringLiteral("MARKA"), 30),
        FieldDef::text(QStringLiteral("KONTEYNERNO"), 255),
        FieldDef::decimal(QStringLiteral("BRUTKG")),
        FieldDef::decimal(QStringLiteral("NETKG")),
        FieldDef::decimal(QStringLiteral("MIKTAR31")),
        FieldDef::text(QStringLiteral("OLCUBIRIMI31"), 3),
        FieldDef::text(QStringLiteral("ELLECLEMEBILGILER"), 255),
        FieldDef::text(QStringLiteral("GECICICIKISBILGILER"), 255),
        FieldDef::text(QStringLiteral("DIGERBILGILER"), 255),
        FieldDef::text(QStringLiteral("ACIKLAMA"), 255),
    });
    AQANT_Hareket.setBaseTable(QStringLiteral("ANT_HAREKET"), QStringLiteral("ANTHAREKETID"));
    AQANT_Hareket.setBeforeOpen([this](db::Dataset&) { m_ambalajlar.reload(TarvoDB); });
    AQANT_Hareket.setOnCalcFields([this](db::Dataset& ds) {
        const QString kod = ds.value(QStringLiteral("KAPCINSI")).toString();
        ds.setCalcValue(QStringLiteral("KAPCINSISTR"), kod.isEmpty() ? QString() : m_ambalajlar.name(TarvoDB, kod));
    });

    AQANT_Teminat.setSql(QStringList{QStringLiteral("SELECT * FROM ANT_TEMINAT"),
                                     QStringLiteral("WHERE ANTBEYANNAMEID = :ANTBEYANNAMEID")});
    AQANT_Teminat.setFields({
        FieldDef::identityField(QStringLiteral("ANTTEMINATID")),
        FieldDef::integer(QStringLiteral("ANTBEYANNAMEID")),
        FieldDef::text(QStringLiteral("TEMINATTURUKODU"), 10),
        FieldDef::calcText(QStringLiteral("TEMINATTURUSTR"), 100),
        FieldDef::decimal(QStringLiteral("TEMINATTUTARI")),
    });
    AQANT_Teminat.setBaseTable(QStringLiteral("ANT_TEMINAT"), QStringLiteral("ANTTEMINATID"));
    AQANT_Teminat.setBeforeOpen([this](db::Dataset&) { m_teminatTurleri.reload(TarvoDB); });
    AQANT_Teminat.setOnCalcFields([this](db::Dataset& ds) {
        const QString kod = ds.value(QStringLiteral("TEMINATTURUKODU")).toString();
        ds.setCalcValue(QStringLiteral("TEMINATTURUSTR"),
                        kod.isEmpty() ? QString() : m_teminatTurleri.name(TarvoDB, kod));
    });

    AQANT_OzetBeyan.setSql(QStringList{QStringLiteral("SELECT * FROM ANT_OZETBEYAN"),
                                       QStringLiteral("WHERE ANTHAREKETID = :ANTHAREKETID")});
    AQANT_OzetBeyan.setFields({
        FieldDef::identityField(QStringLiteral("ANTOZETBEYANID")),
        FieldDef::integer(QStringLiteral("ANTHAREKETID")),
        FieldDef::text(QStringLiteral("OZETBEYANNO"), 20),
        FieldDef::dateTime(QStringLiteral("OZETBEYANTARIHI")),
    });
    AQANT_OzetBeyan.setBaseTable(QStringLiteral("ANT_OZETBEYAN"), QStringLiteral("ANTOZETBEYANID"));

    AQANT_Acma.setSql(
        QStringList{QStringLiteral("SELECT * FROM ANT_ACMA"), QStringLiteral("WHERE ANTHAREKETID = :ANTHAREKETID")});
    AQANT_Acma.setFields({
        FieldDef::identityField(QStringLiteral("ANTACMAID")),
        FieldDef::integer(QStringLiteral("ANTHAREKETID")),
        FieldDef::text(QStringLiteral("ACILACAKBEYANNAMENUMARASI"), 20),
        FieldDef::dateTime(QStringLiteral("ACILACAKBEYANNAMETARIHI")),
        FieldDef::integer(QStringLiteral("ACILACAKKALEMSIRANO")),
        FieldDef::text(QStringLiteral("ACILANGTIP"), 16),
        FieldDef::decimal(QStringLiteral("ACMAMIKTARI")),
        FieldDef::text(QStringLiteral("BILGININTANIMI"), 100),
    });
    AQANT_Acma.setBaseTable(QStringLiteral("ANT_ACMA"), QStringLiteral("ANTACMAID"));

    AQANT_Sabitler.setSql(QStringLiteral("SELECT * FROM ANT_SABITLER"));
    db::FieldList sabit{FieldDef::identityField(QStringLiteral("ANTSABITID"))};
    for (int n = 1; n <= 4; ++n) {
        const QString p = QStringLiteral("EXTSERVIS%1").arg(n);
        sabit << FieldDef::boolean(p + QStringLiteral("AKTIF")) << FieldDef::text(p + QStringLiteral("ADI"), 30)
              << FieldDef::text(p + QStringLiteral("ADRES"), 255) << FieldDef::text(p + QStringLiteral("KULLANICI"), 30)
              << FieldDef::text(p + QStringLiteral("SIFRE"), 100);
    }
    sabit << FieldDef::integer(QStringLiteral("STANDARTVERIKAYNAK")) << FieldDef::text(QStringLiteral("RAPORLINK"), 255);
    AQANT_Sabitler.setFields(sabit);
    AQANT_Sabitler.setBaseTable(QStringLiteral("ANT_SABITLER"), QStringLiteral("ANTSABITID"));

    AQANT_BeyannameQRP.setSql(QStringList{QStringLiteral("SELECT * FROM ANT_BEYANNAME"),
                                          QStringLiteral("WHERE ANTBEYANNAMEID = :ANTBEYANNAMEID")});
    {
        static const QStringList names = {
            QStringLiteral("ANTBEYANNAMEID"), QStringLiteral("DOSYAYIL"), QStringLiteral("DOSYASIRA"),
            QStringLiteral("GIRISCIKIS"), QStringLiteral("TESCILNO"), QStringLiteral("TESCILTARIHI"),
            QStringLiteral("ANTREPOKODU"), QStringLiteral("KAPADEDI"), QStringLiteral("BEYANTURU"),
            QStringLiteral("REJIMKODU"), QStringLiteral("SAYIMTUTANAKNUMARASI"), QStringLiteral("GUMRUKTUTANAKNO"),
            QStringLiteral("GUMRUKTUTANAKTARIHI"), QStringLiteral("FIRMA"),
            QStringLiteral("CIKISTAKIARACINTIPININKODU"), QStringLiteral("CIKISTAKIARACINKIMLIGI"),
            QStringLiteral("ACIKLAMA"), QStringLiteral("KAYITZAMANI"), QStringLiteral("KULLANICI"),
            QStringLiteral("GUMRUKKODU"), QStringLiteral("BRUTKG"), QStringLiteral("NETKG"),
            QStringLiteral("ESYACIKISTARIHI"), QStringLiteral("TASIYICIFIRMA"), QStringLiteral("ANTREPOSAHIBI"),
            QStringLiteral("KAPESYACINSI"), QStringLiteral("GUMRUKKODUSTR"), QStringLiteral("SAYIMTUTANAKKG")};
        db::FieldList qrp;
        for (const auto& n : names)
            for (const auto& f : beyannameFields())
                if (f.name == n)
                    qrp << f;
        AQANT_BeyannameQRP.setFields(qrp);
    }
    AQANT_BeyannameQRP.setParam(QStringLiteral("ANTBEYANNAMEID"), 0);
    AQANT_BeyannameQRP.setBaseTable(QStringLiteral("ANT_BEYANNAME"), QStringLiteral("ANTBEYANNAMEID"));
    AQANT_BeyannameQRP.setBeforeOpen([this](db::Dataset&) { m_gumrukler.reload(TarvoDB); });
    AQANT_BeyannameQRP.setOnCalcFields([this](db::Dataset& ds) {
        const QString kod = ds.value(QStringLiteral("GUMRUKKODU")).toString();
        ds.setCalcValue(QStringLiteral("GUMRUKKODUSTR"), kod.isEmpty() ? QString() : m_gumrukler.name(TarvoDB, kod));
    });

    QryAntDosyaNo.setSql(QStringList{QStringLiteral("SELECT  DOSYASIRA FROM ANT_BEYANNAME "),
                                     QStringLiteral("WHERE DOSYAYIL = :DOSYAYIL AND DOSYASIRA >= :DOSYASIRA"),
                                     QStringLiteral("ORDER BY DOSYASIRA DESC")});
    QryAntDosyaNo.setFields({FieldDef::integer(QStringLiteral("DOSYASIRA"))});
    QryMaxAntDosyaNo.setSql(QStringList{QStringLiteral("SELECT MAX(DOSYASIRA) AS MAXDOSYASIRA"),
                                        QStringLiteral("FROM ANT_BEYANNAME"),
                                        QStringLiteral("WHERE DOSYAYIL = :DOSYAYIL")});
    {
        FieldDef max = FieldDef::integer(QStringLiteral("MAXDOSYASIRA"));
        max.readOnly = true;
        QryMaxAntDosyaNo.setFields({max});
    }

    DsSabitler.setSql(QStringLiteral("SELECT * FROM SABITLER"));
    DsSabitler.setFields({FieldDef::identityField(QStringLiteral("SABITID")), FieldDef::text(QStringLiteral("LOKASYONADI"), 30),
                          FieldDef::boolean(QStringLiteral("DOMAINUSERKULLANILACAK"))});
    DsSabitler.setBaseTable(QStringLiteral("SABITLER"), QStringLiteral("SABITID"));

    DsActivKey.setSql(QStringLiteral("SELECT * FROM ACTIVKEY"));
    DsActivKey.setFields({FieldDef::identityField(QStringLiteral("ACTIVKEYID")),
                          FieldDef::integer(QStringLiteral("GUNCELLEEXESIZE")),
                          FieldDef::dateTime(QStringLiteral("GUNCELLEEXEDATETIME"))});
    DsActivKey.setBaseTable(QStringLiteral("ACTIVKEY"), QStringLiteral("ACTIVKEYID"));

    DsGuncelle.setSql(QStringList{QStringLiteral("SELECT ACTIVKEYID,GUNCELLEEXE,"),
                                  QStringLiteral("GUNCELLEEXEDATETIME,GUNCELLEEXESIZE"), QStringLiteral("FROM ACTIVKEY")});
    DsGuncelle.setFields({FieldDef::identityField(QStringLiteral("ACTIVKEYID")), FieldDef::blob(QStringLiteral("GUNCELLEEXE")),
                          FieldDef::dateTime(QStringLiteral("GUNCELLEEXEDATETIME")),
                          FieldDef::integer(QStringLiteral("GUNCELLEEXESIZE"))});
    DsGuncelle.setBaseTable(QStringLiteral("ACTIVKEY"), QStringLiteral("ACTIVKEYID"));

    DsExeUpgrade.setSql(QStringList{QStringLiteral("SELECT * FROM EXEUPGRADE"), QStringLiteral("Where NAME = :NAME")});
    DsExeUpgrade.setFields({FieldDef::identityField(QStringLiteral("EXEUPGRADEID")), FieldDef::text(QStringLiteral("NAME"), 40),
                            FieldDef::blob(QStringLiteral("EXEFILE")), FieldDef::integer(QStringLiteral("EXESIZE")),
                            FieldDef::dateTime(QStringLiteral("EXEDATETIME")), FieldDef::text(QStringLiteral("VERSION"), 40)});
    DsExeUpgrade.setBaseTable(QStringLiteral("EXEUPGRADE"), QStringLiteral("EXEUPGRADEID"));
}

void TDM1::calcBeyanname(db::Dataset& ds) {
    // the field list is fixed, so the positions are too; this runs once per fetched row
    static const int giriscikis = ds.fieldIndex(QStringLiteral("GIRISCIKIS"));
    static const int arac = ds.fieldIndex(QStringLiteral("CIKISTAKIARACINTIPININKODU"));
    static const int kullanici = ds.fieldIndex(QStringLiteral("KULLANICI"));
    static const int gumruk = ds.fieldIndex(QStringLiteral("GUMRUKKODU"));
    static const QString giris = QStringLiteral("GİRİŞ");
    static const QString cikis = QStringLiteral("ÇIKIŞ");

    const QVariant gc = ds.value(giriscikis);
    const int yon = gc.isNull() ? 0 : gc.toInt();
    ds.setCalcValue(QStringLiteral("GIRISCIKISSTR"), yon == 0 ? giris : yon == 1 ? cikis : QString());

    const QString aracKodu = ds.value(arac).toString();
    ds.setCalcValue(QStringLiteral("CIKISTAKIARACINTIPISTR"),
                    aracKodu.isEmpty() ? QString() : m_tasimaAraclari.name(TarvoDB, aracKodu));

    const int kullaniciId = ds.value(kullanici).toInt(); // null reads as 0
    ds.setCalcValue(QStringLiteral("KULLANICISTR"),
                    kullaniciId <= 0 ? QString() : m_kullanicilar.name(TarvoDB, kullaniciId));

    const QString gumrukKodu = ds.value(gumruk).toString();
    ds.setCalcValue(QStringLiteral("GUMRUKKODUSTR"),
                    gumrukKodu.isEmpty() ? QString() : m_gumrukler.name(TarvoDB, gumrukKodu));
}

void TDM1::TabloKolonEkle(const QString& table, const QString& column, const QString& type, const QString& nullClause) {
    TarvoDB.dialect().addColumn(IMQuery, IMCommand, table, column, type, nullClause);
}

void TDM1::TabloKolonEkleWithValues(const QString& table, const QString& column, const QString& type,
                                    const QString& nullClause, const QString& defaultValue) {
    TarvoDB.dialect().addColumnWithValues(IMQuery, IMCommand, table, column, type, nullClause, defaultValue);
}

void TDM1::TabloStringKolonGuncelle(const QString& table, const QString& column, quint16 oldWidth, quint16 newWidth,
                                    const QString& nullClause) {
    TarvoDB.dialect().widenTextColumn(IMQuery, IMCommand, table, column, oldWidth, newWidth, nullClause);
}

bool TDM1::TabloVar(const QString& table) {
    return TarvoDB.dialect().tableExists(IMQuery, table);
}

void TDM1::ProgramKolonlariEkle() {
    const QString n = QStringLiteral("null");
    TabloKolonEkleWithValues(QStringLiteral("SABITLER"), QStringLiteral("TARVOANTREPOVERSION"), QStringLiteral("numeric(6,2)"), n, QStringLiteral("1"));
    TabloKolonEkleWithValues(QStringLiteral("KULLANICI"), QStringLiteral("TARVOANTREPOYETKI"), QStringLiteral("bit"), n, QStringLiteral("0"));
}

void TDM1::TablolariOlustur() {
    for (const auto& t : schema::warehouseTables())
        if (!TabloVar(t.name))
            TarvoDB.dialect().createTable(IMCommand, t);
}

void TDM1::KolonlariGuncelle() {
    const QString n = QStringLiteral("null");
    const QString B = QStringLiteral("ANT_BEYANNAME");
    TabloKolonEkle(B, QStringLiteral("GUMRUKTUTANAKNO"), QStringLiteral("varchar(20)"), n);
    TabloKolonEkle(B, QStringLiteral("GUMRUKTUTANAKTARIHI"), QStringLiteral("datetime"), n);
    TabloKolonEkle(B, QStringLiteral("GUMRUKKODU"), QStringLiteral("varchar(6)"), n);
    TabloKolonEkle(B, QStringLiteral("BRUTKG"), QStringLiteral("numeric(18,2)"), n);
    TabloKolonEkle(B, QStringLiteral("NETKG"), QStringLiteral("numeric(18,2)"), n);
    TabloKolonEkle(B, QStringLiteral("ESYACIKISTARIHI"), QStringLiteral("datetime"), n);
    TabloKolonEkle(B, QStringLiteral("TASIYICIFIRMA"), QStringLiteral("varchar(60)"), n);
    TabloKolonEkle(B, QStringLiteral("ANTREPOSAHIBI"), QStringLiteral("varchar(60)"), n);
    TabloKolonEkle(B, QStringLiteral("KAPESYACINSI"), QStringLiteral("varchar(30)"), n);
    TabloKolonEkleWithValues(B, QStringLiteral("DEVIR"), QStringLiteral("bit"), n, QStringLiteral("0"));
    TabloKolonEkle(QStringLiteral("ANT_SABITLER"), QStringLiteral("RAPORLINK"), QStringLiteral("varchar(255)"), n);
    TabloStringKolonGuncelle(QStringLiteral("ANT_OZETBEYAN"), QStringLiteral("OZETBEYANNO"), 16, 20, n);
    TabloKolonEkleWithValues(QStringLiteral("SABITLER"), QStringLiteral("DOMAINUSERKULLANILACAK"), QStringLiteral("bit"), n, QStringLiteral("0"));
    TabloKolonEkleWithValues(B, QStringLiteral("SAYIMTUTANAKKG"), QStringLiteral("int"), n, QStringLiteral("0"));
    TabloStringKolonGuncelle(QStringLiteral("ANT_ACMA"), QStringLiteral("ACILACAKBEYANNAMENUMARASI"), 16, 20, n);
    TabloStringKolonGuncelle(B, QStringLiteral("TESCILNO"), 20, 24, n);
}
