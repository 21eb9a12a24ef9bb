#include "support/TestSupport.h"

#include "common/Fonksiyonlar.h"
#include "platform/ui/KeyCharFilter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

namespace {

// QTest::keyClicks narrows every character to Latin-1 and so cannot type "ı": each
// character goes as a key press of its own carrying the character as its text.
void yaz(QWidget* w, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class BuyukHarfEditTest : public QObject {
    Q_OBJECT
private slots:
    void typedCharactersAreUpperCased_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("istanbul ılıca")
            << QStringLiteral("istanbul ılıca") << QStringLiteral("İSTANBUL ILICA");
        QTest::newRow("çğöşü") << QStringLiteral("çğöşü â") << QStringLiteral("ÇĞÖŞÜ â");
    }
    void typedCharactersAreUpperCased() {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QLineEdit edit;
        BuyukHarfGirisi(&edit);
        yaz(&edit, typed);
        QCOMPARE(edit.text(), expected);
    }

    void keyClicksAndEditingKeysStillWork() {
        QLineEdit edit;
        BuyukHarfGirisi(&edit);
        QTest::keyClicks(&edit, QStringLiteral("abc-12"));
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClicks(&edit, QStringLiteral("x"));
        QCOMPARE(edit.text(), QStringLiteral("XABC-1"));
    }

    void pastedAndInsertedTextIsNotConverted() {
        QLineEdit edit;
        BuyukHarfGirisi(&edit);
        QGuiApplication::clipboard()->setText(QStringLiteral("istanbul"));
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.text(), QStringLiteral("istanbul"));
        edit.paste();
        edit.insert(QStringLiteral(" ılıca"));
        QCOMPARE(edit.text(), QStringLiteral("istanbulistanbul ılıca"));
        yaz(&edit, QStringLiteral("i"));
        QCOMPARE(edit.text(), QStringLiteral("istanbulistanbul ılıcaİ"));
    }

    void readOnlyAndMaxLengthAreKept() {
        QLineEdit edit;
        BuyukHarfGirisi(&edit);
        edit.setMaxLength(3);
        yaz(&edit, QStringLiteral("iiii"));
        QCOMPARE(edit.text(), QStringLiteral("İİİ"));
        edit.setReadOnly(true);
        edit.clear();
        yaz(&edit, QStringLiteral("i"));
        QCOMPARE(edit.text(), QString());
    }

    void filterCanBeReplacedAndRemoved() {
        QLineEdit edit;
        ui::setKeyCharFilter(&edit, [](QChar c) { return c == u'a' ? QChar(u'b') : c; });
        BuyukHarfGirisi(&edit);
        yaz(&edit, QStringLiteral("a"));
        ui::setKeyCharFilter(&edit, {});
        yaz(&edit, QStringLiteral("a"));
        QCOMPARE(edit.text(), QStringLiteral("Aa"));
    }
};

TARVO_TEST_MAIN(BuyukHarfEditTest)
#include "test_buyukharf_edit.moc"
