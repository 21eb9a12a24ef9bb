#include "schema/WarehouseTables.h"

namespace schema {

namespace {

db::ColumnDef id(const char* n) { return {QString::fromLatin1(n), QStringLiteral("int"), true}; }
db::ColumnDef col(const char* n, const char* type) { return {QString::fromLatin1(n), QString::fromLatin1(type), false}; }

QList<db::TableDef> build() {
    QList<db::TableDef> t;
    t.append({QStringLiteral("ANT_BEYANNAME"),
              {id("ANTBEYANNAMEID"),
               col("DOSYAYIL", "int"),
               col("DOSYASIRA", "int"),
               col("GIRISCIKIS", "int"),
               col("TESCILNO", "varchar(24)"),
               col("TESCILTARIHI", "datetime"),
               col("ANTREPOKODU", "varchar(10)"),
               col("KAPADEDI", "int"),
               col("GUMRUKKODU", "varchar(6)"),
               col("BEYANTURU", "varchar(2)"),
               col("REJIMKODU", "varchar(4)"),
               col("BRUTKG", "numeric(18,2)"),
               col("NETKG", "numeric(18,2)"),
               col("ESYACIKISTARIHI", "datetime"),
               col("SAYIMTUTANAKNUMARASI", "bigint"),
               col("GUMRUKTUTANAKNO", "varchar(20)"),
               col("GUMRUKTUTANAKTARIHI", "datetime"),
               col("FIRMA", "varchar(60)"),
               col("TASIYICIFIRMA", "varchar(60)"),
               col("ANTREPOSAHIBI", "varchar(60)"),
               col("CIKISTAKIARACINTIPININKODU", "varchar(1)"),
               col("CIKISTAKIARACINKIMLIGI", "varchar(35)"),
               col("KAPESYACINSI", "varchar(30)"),
               col("SAYIMTUTANAKKG", "int"),
               col("ACIKLAMA", "varchar(255)"),
               col("DEVIR", "bit"),
               col("KAYITZAMANI", "datetime"),
               col("KULLANICI", "int")},
              {}});
    t.append({QStringLiteral("ANT_TEMINAT"),
              {id("ANTTEMINATID"), col("ANTBEYANNAMEID", "int"), col("TEMINATTURUKODU", "varchar(10)"),
               col("TEMINATTUTARI", "numeric(18,2)")},
              {}});
    t.append({QStringLiteral("ANT_HAREKET"),
              {id("ANTHAREKETID"),
               col("ANTBEYANNAMEID", "int"),
               col("KALEMSIRANO", "int"),
               col("GTIP", "varchar(16)"),
               col("TICARITANIMI", "varchar(210)"),
               col("KAPCINSI", "varchar(9)"),
               col("KAPADEDI", "int"),
               col("MARKA", "varchar(30)"),
               col("KONTEYNERNO", "varchar(255)"),
               col("BRUTKG", "numeric(18,2)"),
               col("NETKG", "numeric(18,2)"),
               col("MIKTAR31", "numeric(18,2)"),
               col("OLCUBIRIMI31", "varchar(3)"),
               col("ELLECLEMEBILGILER", "varchar(255)"),
               col("GECICICIKISBILGILER", "varchar(255)"),
               col("DIGERBILGILER", "varchar(255)"),
               col("ACIKLAMA", "varchar(255)")},
              {{QStringLiteral("FK_ANT_HARE_REFERENCE_ANT_BEYA"), QStringLiteral("ANTBEYANNAMEID"),
                QStringLiteral("ANT_BEYANNAME"), QStringLiteral("ANTBEYANNAMEID")}}});
    t.append({QStringLiteral("ANT_OZETBEYAN"),
              {id("ANTOZETBEYANID"), col("ANTHAREKETID", "int"), col("OZETBEYANNO", "varchar(20)"),
               col("OZETBEYANTARIHI", "datetime")},
              {{QStringLiteral("FK_ANT_OZET_REFERENCE_ANT_HARE"), QStringLiteral("ANTHAREKETID"),
                QStringLiteral("ANT_HAREKET"), QStringLiteral("ANTHAREKETID")}}});
    t.append({QStringLiteral("ANT_ACMA"),
              {id("ANTACMAID"), col("ANTHAREKETID", "int"), col("ACILACAKBEYANNAMENUMARASI", "varchar(20)"),
               col("ACILACAKBEYANNAMETARIHI", "datetime"), col("ACILACAKKALEMSIRANO", "int"),
               col("ACILANGTIP", "varchar(16)"), col("ACMAMIKTARI", "numeric(18,2)"),
               col("BILGININTANIMI", "varchar(100)")},
              {{QStringLiteral("FK_ANT_ACMA_REFERENCE_ANT_HARE"), QStringLiteral("ANTHAREKETID"),
                QStringLiteral("ANT_HAREKET"), QStringLiteral("ANTHAREKETID")}}});
    db::TableDef sabit{QStringLiteral("ANT_SABITLER"), {id("ANTSABITID")}, {}};
    for (int n = 1; n <= 4; ++n) {
        const QString p = QStringLiteral("EXTSERVIS%1").arg(n);
        sabit.columns.append({p + QStringLiteral("AKTIF"), QStringLiteral("bit"), false});
        sabit.columns.append({p + QStringLiteral("ADI"), QStringLiteral("varchar(30)"), false});
        sabit.columns.append({p + QStringLiteral("ADRES"), QStringLiteral("varchar(255)"), false});
        sabit.columns.append({p + QStringLiteral("KULLANICI"), QStringLiteral("varchar(30)"), false});
        sabit.columns.append({p + QStringLiteral("SIFRE"), QStringLiteral("varchar(100)"), false});
    }
    sabit.columns.append(col("STANDARTVERIKAYNAK", "int"));
    sabit.columns.append(col("RAPORLINK", "varchar(255)"));
    t.append(sabit);
    return t;
}

} // namespace

const QList<db::TableDef>& warehouseTables() {
    static const QList<db::TableDef> tables = build();
    return tables;
}

} // namespace schema
