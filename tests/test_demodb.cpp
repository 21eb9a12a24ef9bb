#include "support/TestSupport.h"

#include "common/Fonksiyonlar.h"
#include "startup/Kripto.h"

#include "fixture/DemoData.h"
#include "platform/db/Connection.h"
#include "schema/DataModule1.h"
#include "startup/Baslangic.h"

#include <QSqlQuery>

namespace {

const QDate kToday(2025, 3, 14);

using testing::scalar;

qint64 count(db::Connection& c, const QString& sql, const QVariantList& params = {}) {
    return scalar(c, sql, params).toLongLong();
}

} // namespace

class DemoDbTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    db::Connection m_c;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("demo.db"));
        fixture::createDemoDatabase(m_path, kToday);
        m_c.openSqliteFile(m_path);
    }

    void preparationRunsAgain() {
        TDM1 dm;
        dm.Derleme = QStringLiteral("28");
        dm.TarvoDB.openSqliteFile(m_path);
        startup::VeritabaniniHazirla(dm);
        QVERIFY(dm.TabloVar(QStringLiteral("ANT_BEYANNAME")));
        QCOMPARE(count(dm.TarvoDB, QStringLiteral("SELECT COUNT(*) FROM ANT_SABITLER")), 1);
    }

    void usersHaveTheirRights() {
        bool super = false, ordinary = false, without = false;
        for (const auto& u : fixture::demoUsers()) {
            QSqlQuery q = m_c.run(QStringLiteral("SELECT SUPERUSER, TARVOANTREPOYETKI, SIFRE, "
                                                 "WINDOWSYETKILENDIRME FROM KULLANICI WHERE LOGONADI = :L"),
                                  {QString::fromUtf8(u.logon)});
            QVERIFY2(q.next(), u.logon);
            QCOMPARE(q.value(0).toInt(), u.superUser);
            QCOMPARE(q.value(1).toBool(), u.warehouseRight);
            QCOMPARE(q.value(3).toBool(), u.windowsLogon);
            if (!u.windowsLogon)
                // stored scrambled with the login key, in upper case
                QCOMPARE(Scrypt(q.value(2).toString(), QStringLiteral("517294"), false),
                         TurkceKelimeBuyut(QString::fromUtf8(u.password)));
            QVERIFY(QByteArray(u.logon).size() <= 12 && QByteArray(u.logon) == QByteArray(u.logon).toUpper());
            super |= u.superUser == 1 && u.warehouseRight;
            ordinary |= u.superUser == 0 && u.warehouseRight && !u.windowsLogon;
            without |= !u.warehouseRight;
        }
        QVERIFY(super && ordinary && without);
    }

    void requiredRegimeCodesExist() {
        for (const char* kodu : {"7100", "7171", "4071", "1000"})
            QVERIFY2(count(m_c,
                           QStringLiteral("SELECT COUNT(*) FROM REJIMKODLARI WHERE KODU = :K AND "
                                          "(IPTAL IS NULL OR IPTAL = 0)"),
                           {QString::fromLatin1(kodu)}) == 1,
                     kodu);
    }

    void declarationKindFollowsRegime() {
        const QList<QPair<QString, QString>> rules = {{"0", "IM"}, {"4", "IM"}, {"5", "IM"}, {"6", "IM"},
                                                      {"9", "IM"}, {"1", "EX"}, {"2", "EX"}, {"3", "EX"},
                                                      {"7", "AN"}, {"T", "TR"}};
        QSqlQuery q = m_c.run(QStringLiteral("SELECT TESCILNO, REJIMKODU, BEYANTURU FROM DOSYALAR"), {});
        int rows = 0;
        while (q.next()) {
            ++rows;
            QString expected = QStringLiteral("?");
            for (const auto& r : rules)
                if (q.value(1).toString().startsWith(r.first)) expected = r.second;
            QVERIFY2(q.value(2).toString() == expected, qPrintable(q.value(0).toString()));
        }
        QVERIFY(rows >= 100);
    }

    void registrationNumbersAreUnique() {
        QSqlQuery q =
            m_c.run(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT TESCILNO), MAX(LENGTH(TESCILNO)), "
                                   "MIN(LENGTH(TESCILNO)) FROM DOSYALAR"),
                    {});
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toInt(), q.value(0).toInt());
        QVERIFY(q.value(2).toInt() <= 24);
        QVERIFY(q.value(3).toInt() > 0);
    }

    void operationsAreConsistent() {
        // a list of the last 30 days is not empty
        QVERIFY(count(m_c, QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME WHERE KAYITZAMANI >= :T"),
                      {QDateTime(kToday.addDays(-30), QTime(0, 0))}) > 0);
        const QStringList none = {
            // children without parent
            QStringLiteral("SELECT COUNT(*) FROM ANT_HAREKET h LEFT JOIN ANT_BEYANNAME b "
                           "ON b.ANTBEYANNAMEID = h.ANTBEYANNAMEID WHERE b.ANTBEYANNAMEID IS NULL"),
            QStringLiteral("SELECT COUNT(*) FROM ANT_TEMINAT t LEFT JOIN ANT_BEYANNAME b "
                           "ON b.ANTBEYANNAMEID = t.ANTBEYANNAMEID WHERE b.ANTBEYANNAMEID IS NULL"),
            // codes the lists look up
            QStringLiteral(
                "SELECT COUNT(*) FROM ANT_BEYANNAME WHERE GUMRUKKODU NOT IN (SELECT KODU FROM GUMRUKLER)"),
            QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME WHERE CIKISTAKIARACINTIPININKODU NOT IN "
                           "(SELECT KODU FROM TASIMAARACLARI)"),
            QStringLiteral(
                "SELECT COUNT(*) FROM ANT_BEYANNAME WHERE KULLANICI NOT IN (SELECT KULLANICIID FROM "
                "KULLANICI WHERE TARVOANTREPOYETKI = 1)"),
            // direction against regime
            QStringLiteral(
                "SELECT COUNT(*) FROM ANT_BEYANNAME WHERE GIRISCIKIS <> CASE WHEN REJIMKODU LIKE '71%' "
                "THEN 0 ELSE 1 END"),
            // exits open only registered entries
            QStringLiteral("SELECT COUNT(*) FROM ANT_ACMA WHERE ACILACAKBEYANNAMENUMARASI NOT IN "
                           "(SELECT TESCILNO FROM DOSYALAR WHERE REJIMKODU LIKE '71%')"),
        };
        for (const auto& sql : none)
            QVERIFY2(count(m_c, sql) == 0, qPrintable(sql));
        const QStringList some = {QStringLiteral("ANT_HAREKET"), QStringLiteral("ANT_OZETBEYAN"),
                                  QStringLiteral("ANT_ACMA"), QStringLiteral("ANT_TEMINAT")};
        for (const auto& t : some)
            QVERIFY2(count(m_c, QStringLiteral("SELECT COUNT(*) FROM ") + t) > 0, qPrintable(t));
        QVERIFY(count(m_c, QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME WHERE GIRISCIKIS = 0")) > 0);
        QVERIFY(count(m_c, QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME WHERE GIRISCIKIS = 1")) > 0);
        checkFileNumbers();
    }

    void generationIsDeterministic() {
        QTemporaryDir other;
        const QString path = other.filePath(QStringLiteral("demo2.db"));
        fixture::createDemoDatabase(path, kToday);
        db::Connection c2;
        c2.openSqliteFile(path);
        const QString fingerprint = QStringLiteral(
            "SELECT GROUP_CONCAT(TESCILNO || '|' || DOSYAYIL || '/' || DOSYASIRA || '|' || BRUTKG || '|' || "
            "KAYITZAMANI, ';') FROM (SELECT * FROM ANT_BEYANNAME ORDER BY ANTBEYANNAMEID)");
        QCOMPARE(scalar(c2, fingerprint).toString(), scalar(m_c, fingerprint).toString());
    }

    void insertOperationsAddsExactlyTheCount() {
        const qint64 before = count(m_c, QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME"));
        fixture::insertOperations(m_c, 1000, kToday, 7);
        QCOMPARE(count(m_c, QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME")), before + 1000);
        QCOMPARE(count(m_c, QStringLiteral("SELECT COUNT(DISTINCT TESCILNO) FROM ANT_BEYANNAME")),
                 before + 1000);
        // mostly known codes, so the lists show names
        QVERIFY(count(m_c, QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME WHERE GUMRUKKODU IN "
                                          "(SELECT KODU FROM GUMRUKLER)")) > before + 900);
        checkFileNumbers();
    }

private:
    // File numbers run 1, 2, ... without gaps or repeats in every year.
    void checkFileNumbers() {
        QSqlQuery q =
            m_c.run(QStringLiteral("SELECT DOSYAYIL, COUNT(*), COUNT(DISTINCT DOSYASIRA), MIN(DOSYASIRA), "
                                   "MAX(DOSYASIRA) FROM ANT_BEYANNAME GROUP BY DOSYAYIL"),
                    {});
        int years = 0;
        while (q.next()) {
            ++years;
            QVERIFY(q.value(0).toInt() >= kToday.year() - 2 && q.value(0).toInt() <= kToday.year());
            QCOMPARE(q.value(2).toInt(), q.value(1).toInt());
            QCOMPARE(q.value(3).toInt(), 1);
            QCOMPARE(q.value(4).toInt(), q.value(1).toInt());
        }
        QVERIFY(years >= 2);
    }
};

TARVO_TEST_MAIN(DemoDbTest)
#include "test_demodb.moc"
