#include "support/TestSupport.h"

#include "startup/Kripto.h"

namespace {
const QString Anahtar = QStringLiteral("TarvoKey");

QString yazdirilabilirAscii() {
    QString s;
    for (char16_t c = 32; c <= 126; ++c)
        s += QChar(c);
    return s;
}
} // namespace

class KriptoTest : public QObject {
    Q_OBJECT
private slots:
    void crypt2KnownVectors_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("K/abc") << QStringLiteral("K") << QStringLiteral("abc") << QStringLiteral(">>@");
        QTest::newRow("empty key") << QString() << QStringLiteral("a") << QStringLiteral(">");
        QTest::newRow("prefixed password")
            << Anahtar << QStringLiteral("123456789parola") << QStringLiteral("V>npv$>r}_@1:Ij");
        QTest::newRow("past 29 bits")
            << QStringLiteral("k") << QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789")
            << QStringLiteral("L9?+FZ9BB=xD_(3&FJ].Qc?Jd+FV/xO-<G3Z&Nyhf p+'7V9]Q9ha]");
    }
    void crypt2KnownVectors() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(Crypt2(text, key), expected);
        QCOMPARE(Crypt2(expected, key), text);
    }

    void crypt2CounterWrapsAt20857() {
        const QString out = Crypt2(QString(20870, u'a'), QStringLiteral("K"));
        QCOMPARE(out.right(20), QStringLiteral("^=[8QzXk1}^xSj0zXl5%"));
    }

    void mod95_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("expected");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("94") << 94 << 94;
        QTest::newRow("95") << 95 << 0;
        QTest::newRow("-1") << -1 << 94;
        QTest::newRow("-95") << -95 << 0;
        QTest::newRow("-96") << -96 << 94;
        QTest::newRow("5651272") << 5651272 << 7;
        QTest::newRow("int min") << std::numeric_limits<int>::min() << 92;
    }
    void mod95() {
        QFETCH(int, n);
        QFETCH(int, expected);
        QCOMPARE(Mod95(n), expected);
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("key");
        QTest::newRow("plain") << QStringLiteral("sifre123") << Anahtar;
        QTest::newRow("all printable ascii") << yazdirilabilirAscii() << Anahtar;
        QTest::newRow("quotes and blanks") << QStringLiteral(" a'b\"c ") << Anahtar;
        QTest::newRow("turkish letters") << QStringLiteral("Şifre-İğü") << Anahtar;
        QTest::newRow("empty password") << QString() << Anahtar;
        QTest::newRow("empty key") << QStringLiteral("parola") << QString();
    }
    void roundTrip() {
        QFETCH(QString, password);
        QFETCH(QString, key);
        const QString stored = Scrypt(password, key, true);
        QCOMPARE(stored.size(), password.size() + 9);
        QCOMPARE(Scrypt(stored, key, false), password);
    }

    void sameTextGetsDifferentPrefixes() {
        const QString a = Scrypt(QStringLiteral("parola"), Anahtar, true);
        const QString b = Scrypt(QStringLiteral("parola"), Anahtar, true);
        QVERIFY(a != b);
        QCOMPARE(Scrypt(a, Anahtar, false), QStringLiteral("parola"));
        QCOMPARE(Scrypt(b, Anahtar, false), QStringLiteral("parola"));
        QVERIFY(Scrypt(a, QStringLiteral("BaskaKey"), false) != QStringLiteral("parola"));
    }

    void randomGenerateIsNineDigits() {
        for (int i = 0; i < 200; ++i) {
            const QString s = RandomGenerate();
            QCOMPARE(s.size(), 9);
            for (QChar c : s)
                QVERIFY2(c >= u'0' && c <= u'9', qPrintable(s));
            QVERIFY(s[0] != u'0' || s == QStringLiteral("000000000"));
        }
    }

    void charactersOutsideAsciiPassThrough() {
        const QString withOthers = Crypt2(QStringLiteral("aŞb\tc"), Anahtar);
        const QString without = Crypt2(QStringLiteral("abc"), Anahtar);
        QCOMPARE(withOthers, QString(without[0]) + QStringLiteral("Ş") + without[1] + u'\t' + without[2]);
        QCOMPARE(Crypt2(QStringLiteral("abc"), QStringLiteral("Tarvo\u015eKey\n")), without);
    }

    void shortStoredValueGivesEmpty_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QString();
        QTest::newRow("5") << QStringLiteral("12345");
        QTest::newRow("9") << QStringLiteral("123456789");
    }
    void shortStoredValueGivesEmpty() {
        QFETCH(QString, stored);
        QCOMPARE(Scrypt(stored, Anahtar, false), QString());
    }
};

TARVO_TEST_MAIN(KriptoTest)
#include "test_kripto.moc"
