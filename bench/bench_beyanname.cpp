// Opening the operation list's dataset, with its calculated names, against a plain
// QSqlQuery fetch of the same rows, both measured in this run.
#include "fixture/CustomsTables.h"
#include "fixture/DemoData.h"
#include "platform/db/Connection.h"
#include "schema/DataModule1.h"
#include "startup/Baslangic.h"

#include "operations/formMain.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

long peakRssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

long currentRssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

template <typename F> double medianMs(int runs, F f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        f();
        t.push_back(double(e.nsecsElapsed()) / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    const int runs = 5;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.db"));
    {
        db::Connection c;
        c.openSqliteFile(path, true);
        fixture::createCustomsTables(c);
        fixture::seedBasics(c);
    }
    TDM1 dm;
    dm.TarvoDB.openSqliteFile(path);
    dm.Derleme = QStringLiteral("28");
    startup::VeritabaniniHazirla(dm);
    QElapsedTimer gen;
    gen.start();
    fixture::insertOperations(dm.TarvoDB, rows, QDate(2026, 12, 1), 42);
    std::printf("generated %d operations in %.0f ms\n", rows, double(gen.elapsed()));

    long checksum = 0;
    const double plain = medianMs(runs, [&] {
        QSqlQuery q(dm.TarvoDB.database());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("SELECT * FROM ANT_BEYANNAME"));
        const int cols = q.record().count();
        while (q.next())
            for (int i = 0; i < cols; ++i)
                checksum += q.value(i).isNull() ? 0 : 1;
    });

    const long rssBefore = currentRssKb();
    const double dataset = medianMs(runs, [&] {
        dm.AQANT_Beyanname.close();
        dm.AQANT_Beyanname.open();
        checksum += dm.AQANT_Beyanname.recordCount();
    });
    const long rssOpen = currentRssKb();
    // reading every shown value once, as a grid that scrolls through all rows would
    const double readAll = medianMs(1, [&] {
        db::Dataset& ds = dm.AQANT_Beyanname;
        for (int r = 0; r < ds.recordCount(); ++r)
            for (int f = 0; f < ds.fieldCount(); ++f)
                checksum += ds.valueAt(r, f).isNull() ? 0 : 1;
    });

    std::printf("rows: %d (median of %d runs)\n", dm.AQANT_Beyanname.recordCount(), runs);
    std::printf("plain QSqlQuery fetch:           %8.1f ms\n", plain);
    std::printf("AQANT_Beyanname open with names: %8.1f ms   ratio %.2fx (goal <= 2x)\n", dataset, dataset / plain);
    std::printf("reading every value of the open dataset once: %.1f ms\n", readAll);
    std::printf("resident memory held by the open dataset: %.1f MiB; process peak: %.1f MiB\n",
                double(rssOpen - rssBefore) / 1024.0, double(peakRssKb()) / 1024.0);

    // The main window: its query over every operation and the first paint of the list.
    dm.AQANT_Beyanname.close();
    TfrmMain frm(dm);
    frm.resize(1366, 768);
    frm.show();
    frm.dtBaslangic->setDate(QDate(2000, 1, 1));
    frm.dtBitis->setDate(QDate(2100, 1, 1));
    const double window = medianMs(runs, [&] {
        frm.Sorgula();
        checksum += frm.grab().width();
    });
    std::printf("main window query + first paint:  %8.1f ms   ratio %.2fx to the plain fetch (%d rows listed)\n",
                window, window / plain, dm.AQANT_Beyanname.recordCount());
    std::printf("(checksum %ld)\n", checksum);
    return 0;
}
