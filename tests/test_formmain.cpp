#include "support/TestSupport.h"

#include "operations/ListeSorgusu.h"
#include "operations/formMain.h"
#include "platform/system/Clock.h"
#include "platform/ui/DbControls.h"
#include "platform/ui/DbGrid.h"
#include "schema/DataModule1.h"

#include <QAction>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

namespace {

const int kTescilKolonu = 6;

QDateTime zaman(const char* text) {
    return QDateTime::fromString(QLatin1String(text), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

int ekle(db::Connection& c, const QString& table, const QVariantMap& values) {
    QStringList cols, marks;
    QVariantList vals;
    for (auto it = values.begin(); it != values.end(); ++it) {
        cols << it.key();
        marks << u':' + it.key();
        vals << it.value();
    }
    c.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, cols.join(u','), marks.join(u',')),
              vals);
    return testing::scalar(c, QStringLiteral("SELECT last_insert_rowid()")).toInt();
}

int say(db::Connection& c, const QString& sql) {
    return testing::scalar(c, sql).toInt();
}

QAction* eylem(QWidget* w, const QString& text) {
    for (QAction* a : w->findChildren<QAction*>())
        if (a->text() == text) return a;
    return nullptr;
}

} // namespace

class FormMainTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempDb> m_tmp;
    std::unique_ptr<TDM1> m_dm;
    std::unique_ptr<TfrmMain> m_w;

    db::Connection& db() { return m_dm->TarvoDB; }

    int islem(const QString& tescil, const QVariantMap& more = {}) {
        QVariantMap v{{QStringLiteral("TESCILNO"), tescil},
                      {QStringLiteral("DOSYAYIL"), 2024},
                      {QStringLiteral("GIRISCIKIS"), 0},
                      {QStringLiteral("KAYITZAMANI"), zaman("2024-03-20 10:00:00")}};
        for (auto it = more.begin(); it != more.end(); ++it)
            v[it.key()] = it.value();
        return ekle(db(), QStringLiteral("ANT_BEYANNAME"), v);
    }

    void pencereyiAc() {
        m_w = std::make_unique<TfrmMain>(*m_dm);
        m_w->show();
        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    }

    // the registration numbers the grid shows, top to bottom
    QStringList liste() const {
        QStringList out;
        auto* model = m_w->grid->gridModel();
        for (int r = 0; r < model->rowCount(); ++r)
            out << model->index(r, kTescilKolonu).data().toString();
        return out;
    }
    QStringList sirali() const {
        QStringList l = liste();
        l.sort();
        return l;
    }

    void yaz(QLineEdit* e, const QString& text) {
        e->clear();
        QTest::keyClicks(e, text);
    }
    void f7() { QTest::keyClick(m_w->grid, Qt::Key_F7); }
    // on the round mark, which any width of the button leaves in place
    void sec(ui::RadioGroup* rg, int i) {
        QTest::mouseClick(rg->button(i), Qt::LeftButton, {}, QPoint(6, rg->button(i)->height() / 2));
    }

private slots:
    void init() {
        sys::Clock::setFixed(zaman("2024-04-04 12:00:00"));
        m_tmp = std::make_unique<testing::TempDb>();
        m_dm = m_tmp->openDataModule();
        DM1 = m_dm.get();
    }
    void cleanup() {
        m_w.reset();
        DM1 = nullptr;
        m_dm.reset();
        m_tmp.reset();
        sys::Clock::reset();
    }

    void windowAsBuilt() {
        testing::MessageRecorder rec;
        pencereyiAc();
        TfrmMain& w = *m_w;
        QCOMPARE(w.windowTitle(), QStringLiteral("TarvoAntrepo"));
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        QStringList sayfalar;
        for (int i = 0; i < w.lstSayfalar->count(); ++i)
            sayfalar << w.lstSayfalar->item(i)->text();
        QCOMPARE(sayfalar, (QStringList{"Antrepo", "Raporlar", "Tablolar", "Destek"}));
        QCOMPARE(w.sbPanel[0]->text(), QStringLiteral("Velkora TarvoAntrepo"));
        QCOMPARE(w.sbPanel[1]->text(), QStringLiteral("Uyarlama: 1.0 Derleme: 28"));
        QCOMPARE(w.sbPanel[2]->text(), QString());

        QCOMPARE(w.rgTarihTipi->title(), QStringLiteral(" Tarih Tipi "));
        QCOMPARE(w.rgTarihTipi->button(w.rgTarihTipi->itemIndex())->text(), QStringLiteral("Kayıt Zamanı"));
        QCOMPARE(w.rgHareketYonu->button(w.rgHareketYonu->itemIndex())->text(), QStringLiteral("Tümü"));
        QCOMPARE(w.rgSiralama->button(w.rgSiralama->itemIndex())->text(), QStringLiteral("Dosya Yıl + Sıra"));
        QCOMPARE(w.rgSiralamaYonu->button(w.rgSiralamaYonu->itemIndex())->text(),
                 QStringLiteral("Büyükten Küçüğe"));
        QCOMPARE(w.dtBitis->date(), QDate(2024, 4, 4));
        QCOMPARE(w.dtBaslangic->date(), QDate(2024, 3, 5));
        for (auto* e :
             {w.edAntrepoKodu, w.edRejimKodu, w.edTescilNo, w.edSayimTutanakNo, w.edGumrukTutanakNo})
            QVERIFY(e->text().isEmpty());
        QCOMPARE(w.btnSorgula->text(), QStringLiteral("[F7] Sorgula"));
        QCOMPARE(w.btnYeni->text(), QStringLiteral("Yeni Antrepo İşlem"));
        QCOMPARE(w.btnGuncelle->text(), QStringLiteral("Güncelle"));

        const QStringList basliklar = {"G./Ç.",
                                       "Dosya Yıl",
                                       "Dosya Sıra",
                                       "Firma",
                                       "B.T.",
                                       "Rejim Kodu",
                                       "Tescil No",
                                       "Tescil Tarihi",
                                       "Antrepo Kodu",
                                       "Sayım Tutanak Numarası",
                                       "Gümrük Tutanak No",
                                       "Güm.Tutanak Tarihi",
                                       "Plaka",
                                       "Kayıt Zamanı"};
        const QList<int> genislikler = {40, 50, -1, 160, -1, 64, 64, 96, 80, 120, 106, 96, 120, 64};
        auto* model = w.grid->gridModel();
        QCOMPARE(model->columnCount(), basliklar.size());
        for (int c = 0; c < basliklar.size(); ++c) {
            QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), basliklar[c]);
            if (genislikler[c] > 0) QCOMPARE(w.grid->columnWidth(c), genislikler[c]);
        }
        for (const char* t :
             {"Sabitler...", "Program Hakkında...", "Yeni Antrepo İşlem...", "Antrepo İşlem Sil",
              "Toplu Beyanname Getir (Yerel Veritabanından)..", "Antrepo &Giriş / Çıkış Raporu...", "Tazele",
              "&Yeni Antrepo İşlem", "Güncelle", "Sabitler", "Çıkış"})
            QVERIFY2(eylem(&w, QString::fromUtf8(t)), t);
        QCOMPARE(eylem(&w, QStringLiteral("Yeni Antrepo İşlem..."))->shortcut(), QKeySequence(Qt::Key_F6));
        QVERIFY(rec.entries().isEmpty());
    }

    void firstQueryCoversTheLast30DaysOfRecordTime() {
        islem(QStringLiteral("ONCE"), {{"KAYITZAMANI", zaman("2024-03-04 23:59:59")}});
        islem(QStringLiteral("ILK GUN"), {{"KAYITZAMANI", zaman("2024-03-05 00:00:00")}});
        islem(QStringLiteral("SON AN"), {{"KAYITZAMANI", zaman("2024-04-04 23:59:59")}});
        islem(QStringLiteral("SONRA"), {{"KAYITZAMANI", zaman("2024-04-05 00:00:00")}});
        islem(QStringLiteral("TESCIL ICINDE"), {{"KAYITZAMANI", zaman("2023-01-01 10:00:00")},
                                                {"TESCILTARIHI", zaman("2024-03-20 00:00:00")}});
        testing::MessageRecorder rec;
        pencereyiAc();
        QCOMPARE(sirali(), (QStringList{"ILK GUN", "SON AN"}));
        QVERIFY(rec.entries().isEmpty());
    }

    void identifierFilters_data() {
        QTest::addColumn<QString>("tescil");
        QTest::addColumn<QString>("sayim");
        QTest::addColumn<QString>("gumruk");
        QTest::addColumn<QStringList>("beklenen");
        QTest::newRow("contains 123") << "%123%"
                                      << ""
                                      << "" << QStringList{"12345", "24330100IM000123"};
        QTest::newRow("no wildcard added") << "1234"
                                           << ""
                                           << "" << QStringList{};
        QTest::newRow("typed underscore") << "_2345"
                                          << ""
                                          << "" << QStringList{"12345"};
        QTest::newRow("one blank") << " "
                                   << ""
                                   << "" << QStringList{" "};
        QTest::newRow("single quote") << "O'NEIL"
                                      << ""
                                      << "" << QStringList{"O'NEIL"};
        QTest::newRow("count number") << ""
                                      << "57"
                                      << "" << QStringList{"24330100IM000123"};
        QTest::newRow("customs report") << ""
                                        << ""
                                        << "GT-1" << QStringList{"24330100IM000123", "O'NEIL"};
        QTest::newRow("customs report with quote") << ""
                                                   << ""
                                                   << "GT'3" << QStringList{"24330100IM000999"};
        QTest::newRow("customs report pattern")
            << ""
            << ""
            << "GT-%" << QStringList{"12345", "24330100IM000123", "O'NEIL"};
        QTest::newRow("registration and customs") << "%123%"
                                                  << ""
                                                  << "GT-1" << QStringList{"24330100IM000123"};
        QTest::newRow("registration and count") << "%123%"
                                                << "58"
                                                << "" << QStringList{"12345"};
        QTest::newRow("all three") << "%"
                                   << "57"
                                   << "GT-1" << QStringList{"24330100IM000123"};
        QTest::newRow("all three, no match") << "%"
                                             << "58"
                                             << "GT-1" << QStringList{};
    }
    void identifierFilters() {
        QFETCH(QString, tescil);
        QFETCH(QString, sayim);
        QFETCH(QString, gumruk);
        // dates far outside the range shown, both directions, other warehouse codes
        islem(QStringLiteral("24330100IM000123"), {{"KAYITZAMANI", zaman("2020-01-01 10:00:00")},
                                                   {"SAYIMTUTANAKNUMARASI", 57},
                                                   {"GUMRUKTUTANAKNO", "GT-1"}});
        islem(QStringLiteral("12345"), {{"KAYITZAMANI", zaman("2021-06-01 10:00:00")},
                                        {"GIRISCIKIS", 1},
                                        {"SAYIMTUTANAKNUMARASI", 58},
                                        {"GUMRUKTUTANAKNO", "GT-2"}});
        islem(QStringLiteral("24330100IM000999"),
              {{"SAYIMTUTANAKNUMARASI", 123}, {"GUMRUKTUTANAKNO", "GT'3"}});
        islem(QStringLiteral(" "), {{"GIRISCIKIS", 1}});
        islem(QStringLiteral("O'NEIL"), {{"GUMRUKTUTANAKNO", "GT-1"}, {"ANTREPOKODU", "A1"}});
        testing::MessageRecorder rec;
        pencereyiAc();
        // range filters that would exclude everything
        yaz(m_w->edAntrepoKodu, QStringLiteral("ZZ"));
        sec(m_w->rgHareketYonu, 2);
        QCOMPARE(liste(), QStringList{});

        yaz(m_w->edTescilNo, tescil);
        yaz(m_w->edSayimTutanakNo, sayim);
        yaz(m_w->edGumrukTutanakNo, gumruk);
        f7();
        QTEST(sirali(), "beklenen");
        QVERIFY(rec.entries().isEmpty());
    }

    void rangeFilters_data() {
        QTest::addColumn<int>("tarihTipi");
        QTest::addColumn<QDate>("baslangic");
        QTest::addColumn<QDate>("bitis");
        QTest::addColumn<int>("yon");
        QTest::addColumn<QString>("antrepo");
        QTest::addColumn<QString>("rejim");
        QTest::addColumn<QStringList>("beklenen");
        const QDate b(2024, 3, 5), e(2024, 4, 4);
        QTest::newRow("exits") << 0 << b << e << 2 << ""
                               << "" << QStringList{"R2", "R5"};
        QTest::newRow("entries") << 0 << b << e << 1 << ""
                                 << "" << QStringList{"R1", "R6"};
        QTest::newRow("exits of A1") << 0 << b << e << 2 << "A1"
                                     << "" << QStringList{"R2"};
        QTest::newRow("regime") << 0 << b << e << 0 << ""
                                << "4000" << QStringList{"R1", "R5"};
        QTest::newRow("code and regime") << 0 << b << e << 0 << "A1"
                                         << "4000" << QStringList{"R1"};
        QTest::newRow("code with quote") << 0 << b << e << 0 << "B'2"
                                         << "" << QStringList{"R5"};
        QTest::newRow("typed code upper-cased") << 0 << b << e << 0 << "iz"
                                                << "" << QStringList{"R6"};
        QTest::newRow("registration date") << 1 << QDate(2023, 1, 10) << QDate(2023, 1, 10) << 0 << ""
                                           << "" << QStringList{"R1", "R3"}; // R3 at noon of that day
        QTest::newRow("customs report date") << 2 << QDate(2023, 1, 1) << QDate(2023, 1, 31) << 0 << ""
                                             << "" << QStringList{"R5"};
        QTest::newRow("start after end") << 0 << e << b << 0 << ""
                                         << "" << QStringList{};
    }
    void rangeFilters() {
        QFETCH(int, tarihTipi);
        QFETCH(QDate, baslangic);
        QFETCH(QDate, bitis);
        QFETCH(int, yon);
        QFETCH(QString, antrepo);
        QFETCH(QString, rejim);
        islem(QStringLiteral("R1"), {{"KAYITZAMANI", zaman("2024-03-05 00:00:00")},
                                     {"ANTREPOKODU", "A1"},
                                     {"REJIMKODU", "4000"},
                                     {"TESCILTARIHI", zaman("2023-01-10 00:00:00")}});
        islem(QStringLiteral("R2"), {{"KAYITZAMANI", zaman("2024-04-04 23:59:59")},
                                     {"GIRISCIKIS", 1},
                                     {"ANTREPOKODU", "A1"},
                                     {"REJIMKODU", "1000"}});
        islem(QStringLiteral("R3"), {{"KAYITZAMANI", zaman("2024-03-04 23:59:59")},
                                     {"GIRISCIKIS", 1},
                                     {"ANTREPOKODU", "A1"},
                                     {"TESCILTARIHI", zaman("2023-01-10 12:00:00")}});
        islem(QStringLiteral("R4"), {{"KAYITZAMANI", zaman("2024-04-05 00:00:00")}});
        islem(QStringLiteral("R5"), {{"GIRISCIKIS", 1},
                                     {"ANTREPOKODU", "B'2"},
                                     {"REJIMKODU", "4000"},
                                     {"GUMRUKTUTANAKTARIHI", zaman("2023-01-31 23:59:59")}});
        islem(QStringLiteral("R6"), {{"ANTREPOKODU", QStringLiteral("İZ")}});
        testing::MessageRecorder rec;
        pencereyiAc();
        QCOMPARE(sirali(), (QStringList{"R1", "R2", "R5", "R6"}));

        if (tarihTipi != 0) sec(m_w->rgTarihTipi, tarihTipi);
        if (yon != 0) sec(m_w->rgHareketYonu, yon);
        m_w->dtBaslangic->setDate(baslangic);
        m_w->dtBitis->setDate(bitis);
        yaz(m_w->edAntrepoKodu, antrepo);
        yaz(m_w->edRejimKodu, rejim);
        f7();
        QTEST(sirali(), "beklenen");
        QVERIFY(m_dm->AQANT_Beyanname.active());
        QVERIFY(rec.entries().isEmpty());
    }

    void countNumberThatIsNotWholeLeavesTheList_data() {
        QTest::addColumn<QString>("sayim");
        QTest::newRow("letters") << "5a";
        QTest::newRow("fraction") << "57,5";
        QTest::newRow("sql") << "57 OR 1=1";
    }
    void countNumberThatIsNotWholeLeavesTheList() {
        QFETCH(QString, sayim);
        islem(QStringLiteral("A"), {{"SAYIMTUTANAKNUMARASI", 57}});
        islem(QStringLiteral("B"), {{"SAYIMTUTANAKNUMARASI", 58}});
        testing::MessageRecorder rec;
        pencereyiAc();
        m_dm->AQANT_Beyanname.last();
        yaz(m_w->edSayimTutanakNo, sayim);
        f7();
        QCOMPARE(rec.texts().size(), 1);
        QVERIFY2(rec.texts().first().startsWith(QStringLiteral("HATA: Sayım Tutanak Numarası")),
                 qPrintable(rec.texts().first()));
        QCOMPARE(sirali(), (QStringList{"A", "B"}));
        QCOMPARE(m_dm->AQANT_Beyanname.row(), 1);
    }

    void choicesQueryAtOnceTypingDoesNot() {
        testing::MessageRecorder rec;
        pencereyiAc();
        int sorgular = 0;
        db().statementObserver = [&](const QString& sql) {
            sorgular += sql.startsWith(QStringLiteral("SELECT * FROM ANT_BEYANNAME\nWHERE"));
        };
        for (auto* e : {m_w->edAntrepoKodu, m_w->edRejimKodu, m_w->edTescilNo, m_w->edSayimTutanakNo,
                        m_w->edGumrukTutanakNo})
            QTest::keyClicks(e, QStringLiteral("1"));
        m_w->dtBaslangic->setDate(QDate(2024, 1, 1));
        m_w->dtBitis->setDate(QDate(2024, 1, 2));
        QCOMPARE(sorgular, 0);
        int beklenen = 0;
        for (auto* rg : {m_w->rgTarihTipi, m_w->rgHareketYonu, m_w->rgSiralama, m_w->rgSiralamaYonu}) {
            sec(rg, 1);
            QCOMPARE(sorgular, ++beklenen);
            sec(rg, 1); // the same choice again is no new choice
            QCOMPARE(sorgular, beklenen);
        }
        QTest::mouseClick(m_w->btnSorgula, Qt::LeftButton);
        f7();
        QCOMPARE(sorgular, beklenen + 2);
        db().statementObserver = {};
    }

    void sortKeyFollowsTheChosenDirection_data() {
        QTest::addColumn<int>("siralama");
        QTest::addColumn<int>("yon");
        QTest::addColumn<QStringList>("beklenen");
        QTest::newRow("file number, newest first") << 0 << 0 << QStringList{"24/2", "24/1", "23/2", "23/1"};
        QTest::newRow("file number, oldest first") << 0 << 1 << QStringList{"23/1", "23/2", "24/1", "24/2"};
        QTest::newRow("count number, descending") << 1 << 0 << QStringList{"23/2", "24/1", "23/1", "24/2"};
        QTest::newRow("registration date, ascending")
            << 3 << 1 << QStringList{"24/2", "23/1", "24/1", "23/2"};
    }
    void sortKeyFollowsTheChosenDirection() {
        QFETCH(int, siralama);
        QFETCH(int, yon);
        islem(QStringLiteral("23/1"), {{"DOSYAYIL", 2023},
                                       {"DOSYASIRA", 1},
                                       {"SAYIMTUTANAKNUMARASI", 30},
                                       {"TESCILTARIHI", zaman("2023-05-01 00:00:00")}});
        islem(QStringLiteral("24/2"), {{"DOSYAYIL", 2024},
                                       {"DOSYASIRA", 2},
                                       {"SAYIMTUTANAKNUMARASI", 10},
                                       {"TESCILTARIHI", zaman("2023-01-01 00:00:00")}});
        islem(QStringLiteral("23/2"), {{"DOSYAYIL", 2023},
                                       {"DOSYASIRA", 2},
                                       {"SAYIMTUTANAKNUMARASI", 50},
                                       {"TESCILTARIHI", zaman("2024-02-01 00:00:00")}});
        islem(QStringLiteral("24/1"), {{"DOSYAYIL", 2024},
                                       {"DOSYASIRA", 1},
                                       {"SAYIMTUTANAKNUMARASI", 40},
                                       {"TESCILTARIHI", zaman("2023-09-01 00:00:00")}});
        testing::MessageRecorder rec;
        pencereyiAc();
        if (siralama != 0) sec(m_w->rgSiralama, siralama);
        if (yon != 0) sec(m_w->rgSiralamaYonu, yon);
        QTEST(liste(), "beklenen");
    }

    void listQueryText() {
        operations::ListeFiltresi f;
        f.baslangic = QDate(2024, 3, 5);
        f.bitis = QDate(2024, 4, 4);
        f.yon = operations::HareketYonu::Cikis;
        f.antrepoKodu = QStringLiteral("A1");
        auto s = operations::ListeSorgusu(f);
        QCOMPARE(s.sql, QStringLiteral(
                            "SELECT * FROM ANT_BEYANNAME\nWHERE\n"
                            "KAYITZAMANI BETWEEN {ts '2024-03-05 00:00:00'} AND {ts '2024-04-04 23:59:59'}"
                            " AND GIRISCIKIS = 1 AND ANTREPOKODU = :ANTREPOKODU\n"
                            "ORDER BY DOSYAYIL DESC,DOSYASIRA DESC"));
        QCOMPARE(s.degerler.size(), 1);
        QCOMPARE(s.degerler[0].second, QVariant(QStringLiteral("A1")));

        f.sayimTutanakNo = QStringLiteral("57");
        s = operations::ListeSorgusu(f);
        QCOMPARE(s.sql.split(u'\n').at(2), QStringLiteral(" SAYIMTUTANAKNUMARASI = :SAYIMTUTANAKNUMARASI"));
        QCOMPARE(s.degerler.size(), 1);
        QCOMPARE(s.degerler[0].second, QVariant(qlonglong(57)));
    }

    void commandsCallTheirWindows() {
        islem(QStringLiteral("A"));
        testing::MessageRecorder rec;
        pencereyiAc();
        QList<bool> acilanlar;
        m_w->AntBeyannameAc = [&](bool yeni) { acilanlar << yeni; };
        QTest::keyClick(m_w->grid, Qt::Key_F6);
        QTest::mouseClick(m_w->btnYeni, Qt::LeftButton);
        QTest::mouseClick(m_w->btnGuncelle, Qt::LeftButton);
        m_w->grid->setFocus();
        QTest::keyClick(m_w->grid, Qt::Key_F2);
        const QRect satir = m_w->grid->visualRect(m_w->grid->gridModel()->index(0, 1));
        QTest::mouseDClick(m_w->grid->viewport(), Qt::LeftButton, {}, satir.center());
        eylem(m_w.get(), QStringLiteral("Güncelle"))->trigger();
        QCOMPARE(acilanlar, (QList<bool>{true, true, false, false, false, false}));

        // an empty list: nothing to edit
        acilanlar.clear();
        sec(m_w->rgHareketYonu, 2);
        QCOMPARE(m_dm->AQANT_Beyanname.recordCount(), 0);
        QTest::mouseClick(m_w->btnGuncelle, Qt::LeftButton);
        QTest::keyClick(m_w->grid, Qt::Key_F2);
        eylem(m_w.get(), QStringLiteral("Antrepo İşlem Sil"))->trigger();
        QVERIFY(acilanlar.isEmpty());
        QVERIFY(rec.entries().isEmpty());

        // windows of later builds: a notice
        eylem(m_w.get(), QStringLiteral("Program Hakkında..."))->trigger();
        QCOMPARE(rec.texts().size(), 1);
        QVERIFY(rec.texts().first().startsWith(QStringLiteral("BİLGİ: ")));
        int sabitler = 0;
        m_w->AntSabitlerAc = [&] { ++sabitler; };
        eylem(m_w.get(), QStringLiteral("Sabitler..."))->trigger();
        eylem(m_w.get(), QStringLiteral("Sabitler"))->trigger();
        QCOMPARE(sabitler, 2);
    }

    void closeQuestion() {
        testing::MessageRecorder rec;
        pencereyiAc();
        QVERIFY(m_dm->AQANT_Beyanname.active());
        rec.answer(false);
        QVERIFY(!m_w->close());
        QVERIFY(m_w->isVisible());
        QVERIFY(m_dm->AQANT_Beyanname.active());
        rec.answer(true);
        eylem(m_w.get(), QStringLiteral("Çıkış"))->trigger();
        QVERIFY(!m_w->isVisible());
        QVERIFY(!m_dm->AQANT_Beyanname.active());
        QCOMPARE(rec.texts(),
                 (QStringList(2, QStringLiteral("TarvoAntrepo uygulamasını kapatmak istiyor musunuz?"))));
        QCOMPARE(rec.entries().first().kind, ui::MessageKind::OkCancel);
    }

    void deleteOperation_data() {
        QTest::addColumn<bool>("evet");
        QTest::addColumn<bool>("bozuk");
        QTest::addColumn<bool>("silinir");
        QTest::addColumn<QString>("mesaj");
        QTest::newRow("deleted") << true << false << true << "BİLGİ: Antrepo işlemi silindi.";
        QTest::newRow("answered no") << false << false << false << "";
        QTest::newRow("an opening refuses")
            << true << true << false << "HATA: Açma satırı kilitli - Antrepo işlemi silinemedi!";
    }
    void deleteOperation() {
        QFETCH(bool, evet);
        QFETCH(bool, bozuk);
        QFETCH(bool, silinir);
        QFETCH(QString, mesaj);
        const int diger = islem(QStringLiteral("DIGER"), {{"DOSYASIRA", 1}});
        const int id = islem(QStringLiteral("SILINECEK"), {{"DOSYASIRA", 2}});
        int sonAcma = 0;
        for (int b : {id, diger}) {
            for (int k = 1; k <= 2; ++k) {
                const int h =
                    ekle(db(), QStringLiteral("ANT_HAREKET"), {{"ANTBEYANNAMEID", b}, {"KALEMSIRANO", k}});
                for (int n = 0; n < 2; ++n) {
                    ekle(db(), QStringLiteral("ANT_OZETBEYAN"), {{"ANTHAREKETID", h}, {"OZETBEYANNO", "OB"}});
                    const int a =
                        ekle(db(), QStringLiteral("ANT_ACMA"), {{"ANTHAREKETID", h}, {"ACMAMIKTARI", 1}});
                    if (b == id) sonAcma = a;
                }
            }
            ekle(db(), QStringLiteral("ANT_TEMINAT"), {{"ANTBEYANNAMEID", b}, {"TEMINATTUTARI", 100}});
        }
        if (bozuk) // the second item's last opening, after the first item's rows are gone
            db().execute(
                QStringLiteral("CREATE TRIGGER KILIT BEFORE DELETE ON ANT_ACMA WHEN OLD.ANTACMAID = %1 "
                               "BEGIN SELECT RAISE(ABORT, 'Açma satırı kilitli'); END")
                    .arg(sonAcma));
        auto satirlar = [&](int b) {
            const QString h =
                QStringLiteral("(SELECT ANTHAREKETID FROM ANT_HAREKET WHERE ANTBEYANNAMEID = %1)").arg(b);
            return QList<int>{
                say(db(),
                    QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME WHERE ANTBEYANNAMEID = %1").arg(b)),
                say(db(),
                    QStringLiteral("SELECT COUNT(*) FROM ANT_HAREKET WHERE ANTBEYANNAMEID = %1").arg(b)),
                say(db(),
                    QStringLiteral("SELECT COUNT(*) FROM ANT_TEMINAT WHERE ANTBEYANNAMEID = %1").arg(b)),
                say(db(), QStringLiteral("SELECT COUNT(*) FROM ANT_OZETBEYAN WHERE ANTHAREKETID IN ") + h),
                say(db(), QStringLiteral("SELECT COUNT(*) FROM ANT_ACMA WHERE ANTHAREKETID IN ") + h)};
        };
        const QList<int> tam = {1, 2, 1, 4, 4};
        QCOMPARE(satirlar(id), tam);

        testing::MessageRecorder rec;
        pencereyiAc();
        QCOMPARE(liste(), (QStringList{"SILINECEK", "DIGER"}));
        QTest::mouseClick(m_w->grid->viewport(), Qt::LeftButton, {},
                          m_w->grid->visualRect(m_w->grid->gridModel()->index(0, 1)).center());
        QCOMPARE(m_dm->AQANT_Beyanname.value(QStringLiteral("ANTBEYANNAMEID")).toInt(), id);
        rec.answer(evet);
        eylem(m_w.get(), QStringLiteral("Antrepo İşlem Sil"))->trigger();

        QCOMPARE(rec.entries().first().kind, ui::MessageKind::YesNo);
        QStringList beklenen{QStringLiteral("Antrepo işlem kaydını silmek istiyor musunuz?")};
        if (!mesaj.isEmpty()) beklenen << mesaj;
        QCOMPARE(rec.texts(), beklenen);
        QCOMPARE(satirlar(id), (silinir ? QList<int>{0, 0, 0, 0, 0} : tam));
        QCOMPARE(satirlar(diger), tam);
        QCOMPARE(liste(), (silinir ? QStringList{"DIGER"} : QStringList{"SILINECEK", "DIGER"}));
        QVERIFY(!db().inTransaction());
    }
};

TARVO_TEST_MAIN(FormMainTest)
#include "test_formmain.moc"
