#include "support/TestSupport.h"

#include "lookup/formAntSabitler.h"
#include "platform/ui/DbControls.h"
#include "platform/ui/Modal.h"
#include "schema/DataModule1.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>

namespace {

QVariant tekDeger(db::Connection& c, const QString& sql) {
    return testing::scalar(c, sql);
}

QVariantMap ilkSatir(db::Connection& c) {
    QSqlQuery q = c.run(QStringLiteral("SELECT * FROM ANT_SABITLER ORDER BY ANTSABITID"), {});
    QVariantMap m;
    if (q.next())
        for (int i = 0; i < q.record().count(); ++i)
            m.insert(q.record().fieldName(i), q.value(i));
    return m;
}

} // namespace

class AntSabitlerTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<testing::TempDb> m_tmp;
    std::unique_ptr<TDM1> m_dm;

    // Opens the editor as the main window does; the driver acts as the user would.
    // Returns whether the dialog was shown.
    bool duzenle(const std::function<void(TfrmAntSabitler&)>& surucu) {
        bool goruldu = false;
        ui::setModalHook([&](QDialog& d) {
            auto& frm = dynamic_cast<TfrmAntSabitler&>(d);
            goruldu = true;
            frm.show();
            frm.activateWindow();
            surucu(frm);
            if (frm.isVisible()) // the driver left it open: close by the frame
                frm.close();
            return frm.result();
        });
        AntSabitlerDuzenle();
        return goruldu;
    }

private slots:
    void init() {
        m_tmp = std::make_unique<testing::TempDb>();
        m_dm = m_tmp->openDataModule();
        DM1 = m_dm.get();
    }
    void cleanup() {
        ui::setModalHook({});
        DM1 = nullptr;
        m_dm.reset();
        m_tmp.reset();
    }

    void emptyTableGetsItsRowEvenWhenClosed() {
        m_dm->TarvoDB.execute(QStringLiteral("DELETE FROM ANT_SABITLER"));
        QVERIFY(duzenle([](TfrmAntSabitler& frm) {
            QCOMPARE(frm.rgOncelik->itemIndex(), 0);
            QTest::mouseClick(frm.btnKapat, Qt::LeftButton);
        }));
        QCOMPARE(tekDeger(m_dm->TarvoDB, QStringLiteral("SELECT COUNT(*) FROM ANT_SABITLER")).toInt(), 1);
        const QVariantMap r = ilkSatir(m_dm->TarvoDB);
        QCOMPARE(r.value(QStringLiteral("STANDARTVERIKAYNAK")).toInt(), 0);
        for (int n = 1; n <= 4; ++n) {
            const QString p = QStringLiteral("EXTSERVIS%1").arg(n);
            QCOMPARE(r.value(p + QStringLiteral("AKTIF")), QVariant(0));
            for (const char* ek : {"ADI", "ADRES", "KULLANICI", "SIFRE"})
                QVERIFY2(r.value(p + QLatin1String(ek)).isNull(), qPrintable(p + QLatin1String(ek)));
        }
        QVERIFY(r.value(QStringLiteral("RAPORLINK")).isNull());
        QVERIFY(!m_dm->AQANT_Sabitler.active());
    }

    void leavingWithoutSavingStoresNothing_data() {
        QTest::addColumn<int>("tus"); // 0: close by the frame
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("frame") << 0;
    }
    void leavingWithoutSavingStoresNothing() {
        QFETCH(int, tus);
        const QVariantMap once = ilkSatir(m_dm->TarvoDB);
        QVERIFY(duzenle([&](TfrmAntSabitler& frm) {
            frm.edtAdi[1]->setFocus();
            QTest::keyClicks(frm.edtAdi[1], QStringLiteral("Merkez WS"));
            QTest::mouseClick(frm.chkAktif[1], Qt::LeftButton);
            QTest::mouseClick(frm.rgOncelik->button(2), Qt::LeftButton);
            QCOMPARE(m_dm->AQANT_Sabitler.value(QStringLiteral("EXTSERVIS2ADI")).toString(),
                     QStringLiteral("Merkez WS"));
            if (tus)
                QTest::keyClick(frm.edtAdi[1], Qt::Key(tus));
            else
                frm.close();
            QVERIFY(!frm.isVisible());
        }));
        QCOMPARE(ilkSatir(m_dm->TarvoDB), once);
        QVERIFY(!m_dm->AQANT_Sabitler.active());
    }

    void savingStoresWhatTheUserEntered() {
        const QString uzun = QString(40, u'x');
        QVERIFY(duzenle([&](TfrmAntSabitler& frm) {
            QTest::mouseClick(frm.chkAktif[0], Qt::LeftButton);
            QTest::mouseClick(frm.chkAktif[2], Qt::LeftButton);
            QTest::keyClicks(frm.edtAdi[2], uzun); // the box takes the column's 30 characters
            QTest::keyClicks(frm.edtAdres[2], QStringLiteral("http://ws.example/TarvoWS.dll/soap/ITarvoWS"));
            QTest::keyClicks(frm.edtKullanici[2], QStringLiteral("antrepo"));
            QTest::keyClicks(frm.edtSifre[2], QStringLiteral("  gizli 1 "));
            QTest::keyClicks(frm.edtSifre[1], QStringLiteral("   ")); // blanks only: still a password
            QTest::mouseClick(frm.rgOncelik->button(3), Qt::LeftButton);
            QTest::keyClicks(frm.edtRaporLink, QStringLiteral("http://rapor/giris?kullanici="));
            frm.grab().save(QStringLiteral("/tmp/antsabitler.png"));
            QTest::mouseClick(frm.btnKaydet, Qt::LeftButton);
            QVERIFY(!frm.isVisible());
            QCOMPARE(frm.result(), int(QDialog::Accepted));
        }));
        const QVariantMap r = ilkSatir(m_dm->TarvoDB);
        QCOMPARE(r.value(QStringLiteral("STANDARTVERIKAYNAK")).toInt(), 3);
        QCOMPARE(r.value(QStringLiteral("EXTSERVIS1AKTIF")).toInt(), 1);
        QCOMPARE(r.value(QStringLiteral("EXTSERVIS2AKTIF")).toInt(), 0);
        QCOMPARE(r.value(QStringLiteral("EXTSERVIS3AKTIF")).toInt(), 1);
        QCOMPARE(r.value(QStringLiteral("EXTSERVIS3ADI")).toString(), uzun.left(30));
        QCOMPARE(r.value(QStringLiteral("EXTSERVIS3ADRES")).toString(),
                 QStringLiteral("http://ws.example/TarvoWS.dll/soap/ITarvoWS"));
        QCOMPARE(r.value(QStringLiteral("EXTSERVIS3KULLANICI")).toString(), QStringLiteral("antrepo"));
        QCOMPARE(r.value(QStringLiteral("EXTSERVIS3SIFRE")).toString(), QStringLiteral("  gizli 1 "));
        QCOMPARE(r.value(QStringLiteral("EXTSERVIS2SIFRE")).toString(), QStringLiteral("   "));
        QCOMPARE(r.value(QStringLiteral("RAPORLINK")).toString(),
                 QStringLiteral("http://rapor/giris?kullanici="));
        QVERIFY(!m_dm->AQANT_Sabitler.active());
    }

    void enterSavesAndTheEditorShowsTheStoredRow() {
        m_dm->TarvoDB.execute(
            QStringLiteral("UPDATE ANT_SABITLER SET STANDARTVERIKAYNAK = 4, EXTSERVIS4AKTIF = 1, "
                           "EXTSERVIS4SIFRE = ' eski', RAPORLINK = 'http://r/?id='"));
        // a second row is neither shown nor changed
        m_dm->TarvoDB.execute(
            QStringLiteral("INSERT INTO ANT_SABITLER (STANDARTVERIKAYNAK, RAPORLINK) VALUES (1, 'ikinci')"));
        QVERIFY(duzenle([](TfrmAntSabitler& frm) {
            QCOMPARE(frm.rgOncelik->itemIndex(), 4);
            QVERIFY(frm.chkAktif[3]->isChecked());
            QVERIFY(!frm.chkAktif[0]->isChecked());
            QCOMPARE(frm.edtSifre[3]->text(), QStringLiteral(" eski"));
            QCOMPARE(frm.edtSifre[3]->echoMode(), QLineEdit::Password);
            QCOMPARE(frm.edtRaporLink->text(), QStringLiteral("http://r/?id="));
            QCOMPARE(frm.edtRaporLink->maxLength(), 255);
            QCOMPARE(frm.edtSifre[0]->maxLength(), 100);
            QCOMPARE(frm.edtAdres[0]->maxLength(), 255);
            QCOMPARE(frm.edtKullanici[0]->maxLength(), 30);
            frm.edtRaporLink->setFocus();
            frm.edtRaporLink->selectAll();
            QTest::keyClicks(frm.edtRaporLink, QStringLiteral("http://yeni/?id="));
            QTest::keyClick(frm.edtRaporLink, Qt::Key_Return);
            QVERIFY(!frm.isVisible());
        }));
        QSqlQuery q = m_dm->TarvoDB.run(
            QStringLiteral("SELECT RAPORLINK, STANDARTVERIKAYNAK FROM ANT_SABITLER ORDER BY ANTSABITID"), {});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("http://yeni/?id="));
        QCOMPARE(q.value(1).toInt(), 4);
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("ikinci"));
        QCOMPARE(q.value(1).toInt(), 1);
    }

    void refusedWriteKeepsTheDialogAndTheEdits() {
        m_dm->TarvoDB.execute(QStringLiteral("CREATE TRIGGER sabit_kilit BEFORE UPDATE ON ANT_SABITLER "
                                             "BEGIN SELECT RAISE(ABORT, 'ayarlar kilitli'); END"));
        const QVariantMap once = ilkSatir(m_dm->TarvoDB);
        testing::MessageRecorder messages;
        QVERIFY(duzenle([&](TfrmAntSabitler& frm) {
            QTest::keyClicks(frm.edtAdi[0], QStringLiteral("Birinci"));
            QTest::mouseClick(frm.btnKaydet, Qt::LeftButton);
            QCOMPARE(messages.entries().size(), 1);
            QVERIFY2(messages.texts().first().contains(QStringLiteral("ayarlar kilitli")),
                     qPrintable(messages.texts().first()));
            QVERIFY(frm.isVisible());
            QCOMPARE(frm.edtAdi[0]->text(), QStringLiteral("Birinci"));
            QCOMPARE(m_dm->AQANT_Sabitler.state(), db::Dataset::State::Edit);
            QTest::mouseClick(frm.btnKapat, Qt::LeftButton);
        }));
        QCOMPARE(ilkSatir(m_dm->TarvoDB), once);
    }

    void tabOrderRunsThroughTheSourcesThenChoiceThenLink() {
        QVERIFY(duzenle([](TfrmAntSabitler& frm) {
            QList<QWidget*> beklenen;
            for (int i = 0; i < 4; ++i)
                beklenen << frm.chkAktif[i] << frm.edtAdi[i] << frm.edtAdres[i] << frm.edtKullanici[i]
                         << frm.edtSifre[i];
            beklenen << frm.rgOncelik->button(0) << frm.edtRaporLink;
            QApplication::setActiveWindow(&frm);
            QVERIFY(QTest::qWaitForWindowActive(&frm));
            frm.chkAktif[0]->setFocus();
            QList<QWidget*> gercek{QApplication::focusWidget()};
            for (int i = 1; i < beklenen.size(); ++i) {
                QVERIFY(QApplication::focusWidget());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                gercek << QApplication::focusWidget();
            }
            QCOMPARE(gercek, beklenen);
        }));
    }

    void captionsAsTheUserReadsThem() {
        QVERIFY(duzenle([](TfrmAntSabitler& frm) {
            QCOMPARE(frm.windowTitle(), QStringLiteral("Sabitler"));
            QStringList metinler;
            for (auto* l : frm.findChildren<QLabel*>())
                metinler << l->text();
            for (auto* b : frm.findChildren<QAbstractButton*>())
                metinler << b->text();
            metinler << frm.rgOncelik->title();
            QStringList beklenen{QStringLiteral("Beyanname bilgileri getirme işlmeleri için dış kaynaklar"),
                                 QStringLiteral("Rapor Sunucu Bağlantısı (Link)"),
                                 QStringLiteral("Dış Kaynak Öncelik"),
                                 QStringLiteral("Yerel veritabanı"),
                                 QStringLiteral("Ka&ydet"),
                                 QStringLiteral("&Kapat")};
            for (int n = 1; n <= 4; ++n)
                beklenen << QStringLiteral("Dış Kaynak %1 Aktif").arg(n)
                         << QStringLiteral("Dış Kaynak %1 WS").arg(n);
            for (const auto& t : beklenen)
                QVERIFY2(metinler.contains(t), qPrintable(t));
            for (const char* t : {"Kaynak Adı", "Kaynak Adres", "Kullanıcı Adı", "Şifre"})
                QCOMPARE(metinler.count(QString::fromUtf8(t)), 4);
            QVERIFY(frm.btnKaydet->isDefault());
            QCOMPARE(frm.rgOncelik->button(3)->text(), QStringLiteral("Dış Kaynak 3 WS"));
        }));
    }
};

TARVO_TEST_MAIN(AntSabitlerTest)
#include "test_antsabitler.moc"
