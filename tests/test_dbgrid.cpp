#include "support/TestSupport.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/ui/DbControls.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"

#include <QElapsedTimer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>

using db::FieldDef;

class DbGridTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<db::Connection> m_db;
    std::unique_ptr<db::Dataset> m_ds;

    void satir(const QVariantList& v) {
        m_db->execute(QStringLiteral("INSERT INTO DENEME (AD, SAYI, TUTAR, TARIH, AKTIF, TUR, NOTLAR) "
                                     "VALUES (:A, :S, :T, :D, :K, :U, :N)"),
                      v);
    }

    static QList<ui::DbGridColumn> kolonlar() {
        return {{QStringLiteral("AD"), QStringLiteral("Adı"), 70},
                {QStringLiteral("SAYI"), QStringLiteral("Sayı"), 50},
                {QStringLiteral("TUTAR"), QStringLiteral("Tutar")},
                {QStringLiteral("TARIH"), QStringLiteral("Tarih"), 130, Qt::AlignHCenter}};
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_db = std::make_unique<db::Connection>();
        m_db->openSqliteFile(m_dir->filePath(QStringLiteral("g.db")), true);
        m_db->execute(
            QStringLiteral("CREATE TABLE DENEME (ID INTEGER PRIMARY KEY AUTOINCREMENT, AD varchar(5), "
                           "SAYI int, TUTAR numeric(18,2), TARIH datetime, AKTIF bit, TUR int, "
                           "NOTLAR varchar(10))"));
        satir({"Ali", 7, 1234.5, QDateTime(QDate(2024, 3, 5), QTime(0, 0)), true, 1, "bir"});
        satir({"Veli", -3, 0.25, QDateTime(QDate(2024, 3, 5), QTime(10, 30)), false, 2, QVariant()});
        satir({QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
        satir({"Ayşe", 12, 10, QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59)), true, 0, "dört"});
        m_ds = std::make_unique<db::Dataset>(m_db.get(), QStringLiteral("Deneme"));
        m_ds->setSql(QStringLiteral("SELECT * FROM DENEME ORDER BY ID"));
        m_ds->setFields(
            {FieldDef::identityField(QStringLiteral("ID")), FieldDef::text(QStringLiteral("AD"), 5),
             FieldDef::integer(QStringLiteral("SAYI")), FieldDef::decimal(QStringLiteral("TUTAR")),
             FieldDef::dateTime(QStringLiteral("TARIH")), FieldDef::boolean(QStringLiteral("AKTIF")),
             FieldDef::integer(QStringLiteral("TUR")), FieldDef::text(QStringLiteral("NOTLAR"), 10)});
        m_ds->setBaseTable(QStringLiteral("DENEME"), QStringLiteral("ID"));
        m_ds->open();
    }
    void cleanup() {
        m_ds.reset();
        m_db.reset();
        m_dir.reset();
    }

    void titlesWidthsAndCells() {
        ui::DbGrid grid;
        grid.setColumns(kolonlar());
        grid.setDataset(m_ds.get());
        grid.resize(500, 300);
        grid.show();
        auto* m = grid.gridModel();
        QCOMPARE(m->rowCount(), 4);
        QCOMPARE(m->columnCount(), 4);
        QStringList titles;
        for (int c = 0; c < 4; ++c)
            titles << m->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"Adı", "Sayı", "Tutar", "Tarih"}));
        QCOMPARE(grid.columnWidth(0), 70);
        QCOMPARE(grid.columnWidth(3), 130);
        const QList<QStringList> cells = {{"Ali", "7", "1.234,50", "05.03.2024"},
                                          {"Veli", "-3", "0,25", "05.03.2024 10:30:00"},
                                          {"", "", "", ""},
                                          {"Ayşe", "12", "10,00", "31.12.2023 23:59:59"}};
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                QCOMPARE(m->index(r, c).data().toString(), cells[r][c]);
        auto align = [&](int c) { return m->index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>(); };
        QVERIFY(align(0) & Qt::AlignLeft);
        QVERIFY(align(1) & Qt::AlignRight);
        QVERIFY(align(3) & Qt::AlignHCenter);

        // an edit of the current row shows at once; closing empties the grid
        m_ds->moveTo(1);
        m_ds->edit();
        m_ds->setValue(QStringLiteral("AD"), QStringLiteral("Can"));
        QCOMPARE(m->index(1, 0).data().toString(), QStringLiteral("Can"));
        m_ds->cancel();
        QCOMPARE(m->index(1, 0).data().toString(), QStringLiteral("Veli"));
        m_ds->close();
        QCOMPARE(m->rowCount(), 0);
    }

    void selectionAndDatasetFollowEachOther() {
        testing::MessageRecorder rec;
        ui::DbGrid grid;
        grid.setColumns(kolonlar());
        grid.setDataset(m_ds.get());
        ui::DbNavigator nav;
        nav.setDataset(m_ds.get());
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        auto selectedRow = [&] {
            const auto rows = grid.selectionModel()->selectedRows();
            return rows.size() == 1 && grid.currentIndex().row() == rows.first().row() ? rows.first().row()
                                                                                       : -1;
        };
        QCOMPARE(selectedRow(), 0);
        m_ds->moveTo(2);
        QCOMPARE(selectedRow(), 2);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.gridModel()->index(1, 2)).center());
        QCOMPARE(m_ds->row(), 1);
        QCOMPARE(selectedRow(), 1);
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(m_ds->row(), 2);

        QVERIFY(nav.button(ui::DbNavigator::First)->isEnabled());
        QTest::mouseClick(nav.button(ui::DbNavigator::Last), Qt::LeftButton);
        QCOMPARE(m_ds->row(), 3);
        QCOMPARE(selectedRow(), 3);
        QVERIFY(!nav.button(ui::DbNavigator::Next)->isEnabled());
        QTest::mouseClick(nav.button(ui::DbNavigator::Prior), Qt::LeftButton);
        QCOMPARE(m_ds->row(), 2);
        QTest::mouseClick(nav.button(ui::DbNavigator::First), Qt::LeftButton);
        QCOMPARE(selectedRow(), 0);
        QVERIFY(!nav.button(ui::DbNavigator::Prior)->isEnabled());

        // a pending edit that cannot be posted keeps the grid on the edited row
        m_ds->edit();
        m_ds->setValue(QStringLiteral("SAYI"), 1);
        m_db->execute(QStringLiteral("UPDATE DENEME SET SAYI = 99 WHERE ID = 1"));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.gridModel()->index(3, 0)).center());
        QCOMPARE(rec.texts().size(), 1);
        QCOMPARE(m_ds->row(), 0);
        QTRY_COMPARE(selectedRow(), 0);
        m_ds->cancel();
    }

    void doubleClickAndKeyCommands() {
        ui::DbGrid grid;
        grid.setColumns(kolonlar());
        grid.setDataset(m_ds.get());
        grid.resize(500, 300);
        grid.show();
        QSignalSpy dbl(&grid, &ui::DbGrid::rowDoubleClicked);
        QSignalSpy keys(&grid, &ui::DbGrid::keyCommand);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {},
                           grid.visualRect(grid.gridModel()->index(2, 1)).center());
        QCOMPARE(dbl.size(), 1);
        QCOMPARE(dbl.first().first().toInt(), 2);
        QTest::keyClick(&grid, Qt::Key_Down);
        QTest::keyClick(&grid, Qt::Key_F2);
        QTest::keyClick(&grid, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(keys.size(), 2);
        QCOMPARE(keys[0].first().value<QKeyCombination>(), QKeyCombination(Qt::Key_F2));
        QCOMPARE(keys[1].first().value<QKeyCombination>(),
                 QKeyCombination(Qt::ShiftModifier, Qt::Key_Return));
        QCOMPARE(m_ds->row(), 3);
    }

    void manyRowsAreReadOnlyWhereShown() {
        m_db->execute(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 99996) "
                           "INSERT INTO DENEME (AD, SAYI) SELECT 'x', i FROM n"));
        m_ds->open();
        QCOMPARE(m_ds->recordCount(), 100000);
        ui::DbGrid grid;
        grid.setColumns(kolonlar());
        grid.setDataset(m_ds.get());
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QElapsedTimer t;
        t.start();
        m_ds->last();
        grid.grab();
        for (int i = 0; i < 50; ++i)
            QTest::keyClick(&grid, Qt::Key_PageUp);
        grid.grab();
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(m_ds->row() < 99999 && m_ds->row() > 99000);
        const QModelIndex shown = grid.indexAt(QPoint(5, 5));
        QVERIFY(shown.row() > 99000);
        QCOMPARE(shown.data().toString(), QStringLiteral("x"));
    }

    void editShowsAndWritesItsField() {
        testing::MessageRecorder rec;
        ui::DbEdit ad(m_ds.get(), QStringLiteral("AD"));
        ui::DbEdit sayi(m_ds.get(), QStringLiteral("SAYI"));
        ui::DbEdit tarih(m_ds.get(), QStringLiteral("TARIH"));
        QCOMPARE(ad.text(), QStringLiteral("Ali"));
        QCOMPARE(ad.maxLength(), 5);
        QCOMPARE(tarih.text(), QStringLiteral("05.03.2024"));
        m_ds->next();
        QCOMPARE(ad.text(), QStringLiteral("Veli"));
        QCOMPARE(sayi.text(), QStringLiteral("-3"));

        ad.selectAll();
        QTest::keyClicks(&ad, QStringLiteral("Deniz1")); // one more than fits
        QCOMPARE(m_ds->state(), db::Dataset::State::Edit);
        QCOMPARE(m_ds->value(QStringLiteral("AD")).toString(), QStringLiteral("Deniz"));
        ad.selectAll();
        QTest::keyClick(&ad, Qt::Key_Delete);
        QVERIFY(m_ds->value(QStringLiteral("AD")).isNull());

        tarih.selectAll();
        QTest::keyClicks(&tarih, QStringLiteral("01.02.2024 08:15"));
        QCOMPARE(m_ds->value(QStringLiteral("TARIH")).toDateTime(),
                 QDateTime(QDate(2024, 2, 1), QTime(8, 15)));

        // a value the field refuses is reported and the edit shows the row's value again
        sayi.selectAll();
        QTest::keyClicks(&sayi, QStringLiteral("4x"));
        QCOMPARE(m_ds->value(QStringLiteral("SAYI")).toInt(), 4);
        QVERIFY(rec.entries().isEmpty());
        QTest::keyClick(&sayi, Qt::Key_Return);
        QCOMPARE(rec.texts().size(), 1);
        QVERIFY(rec.texts().first().contains(QStringLiteral("SAYI")));
        QCOMPARE(sayi.text(), QStringLiteral("4"));
        m_ds->post();
        QCOMPARE(m_ds->value(QStringLiteral("SAYI")).toInt(), 4);
        QVERIFY(!ui::DbEdit(m_ds.get(), QStringLiteral("ID")).link().modifiable());
    }

    void memoCheckBoxAndRadioGroup() {
        testing::MessageRecorder rec;
        ui::DbMemo notlar(m_ds.get(), QStringLiteral("NOTLAR"));
        ui::DbCheckBox aktif(QStringLiteral("Aktif"));
        aktif.bind(m_ds.get(), QStringLiteral("AKTIF"));
        ui::DbRadioGroup tur(QStringLiteral("Tür"),
                             {QStringLiteral("Sıfır"), QStringLiteral("Bir"), QStringLiteral("İki")});
        tur.bind(m_ds.get(), QStringLiteral("TUR"));
        QCOMPARE(notlar.toPlainText(), QStringLiteral("bir"));
        QVERIFY(aktif.isChecked());
        QCOMPARE(tur.itemIndex(), 1);
        m_ds->moveTo(2); // nulls
        QCOMPARE(notlar.toPlainText(), QString());
        QVERIFY(!aktif.isChecked());
        QCOMPARE(tur.itemIndex(), -1);

        m_ds->moveTo(1);
        aktif.click();
        QCOMPARE(m_ds->state(), db::Dataset::State::Edit);
        QCOMPARE(m_ds->value(QStringLiteral("AKTIF")), QVariant(true));
        tur.button(0)->click();
        QCOMPARE(m_ds->value(QStringLiteral("TUR")), QVariant(0));

        notlar.moveCursor(QTextCursor::End);
        QTest::keyClicks(&notlar, QStringLiteral("on harfli!"));
        QCOMPARE(m_ds->value(QStringLiteral("NOTLAR")).toString(), QStringLiteral("on harfli!"));
        QVERIFY(rec.entries().isEmpty());
        QTest::keyClicks(&notlar, QStringLiteral("?")); // one too many
        QCOMPARE(rec.texts().size(), 1);
        QCOMPARE(notlar.toPlainText(), QStringLiteral("on harfli!"));
        m_ds->post();
        m_ds->refresh();
        QCOMPARE(m_ds->value(QStringLiteral("NOTLAR")).toString(), QStringLiteral("on harfli!"));
        QCOMPARE(m_ds->value(QStringLiteral("TUR")), QVariant(0));
        QVERIFY(aktif.isChecked());
    }
};

TARVO_TEST_MAIN(DbGridTest)
#include "test_dbgrid.moc"
