// tarvo_demodb [--force] [--operations N] PATH: writes a SQLite demo database for trying out
// the program; N more generated operations (without items) make it large for list timings.

#include "fixture/DemoData.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/system/Clock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <cstdio>

namespace {

void print(const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stdout);
}

void printError(const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stderr);
}

qint64 scalar(db::Connection& c, const QString& sql, const QVariantList& params = {}) {
    QSqlQuery q = c.run(sql, params);
    return q.next() ? q.value(0).toLongLong() : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvo_demodb"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("TarvoAntrepo için örnek veritabanı (SQLite) oluşturur."));
    parser.addHelpOption();
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Var olan dosyanın yerine yenisini yaz."));
    parser.addOption(force);
    const QCommandLineOption extra(QStringLiteral("operations"),
                                   QStringLiteral("Ek olarak N adet kalemsiz antrepo işlemi üret."),
                                   QStringLiteral("N"));
    parser.addOption(extra);
    parser.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("Oluşturulacak veritabanı dosyası."));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        printError(QStringLiteral("Kullanım: tarvo_demodb [--force] [--operations N] PATH"));
        return 2;
    }
    bool extraOk = true;
    const int extraCount = parser.isSet(extra) ? parser.value(extra).toInt(&extraOk) : 0;
    if (!extraOk || extraCount < 0) {
        printError(QStringLiteral("HATA: --operations bir sayı olmalı."));
        return 2;
    }
    const QString path = args.first();
    if (QFileInfo::exists(path)) {
        if (!parser.isSet(force)) {
            printError(
                QStringLiteral("HATA: %1 zaten var; yerine yenisini yazmak için --force verin.").arg(path));
            return 1;
        }
        // SQLite's side files of the old database would be read as part of the new one.
        for (const QString& f : {path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm"),
                                 path + QStringLiteral("-journal")})
            if (QFileInfo::exists(f) && !QFile::remove(f)) {
                printError(QStringLiteral("HATA: %1 silinemedi.").arg(f));
                return 1;
            }
    }

    const QDate today = sys::Clock::today();
    QElapsedTimer timer;
    timer.start();
    try {
        fixture::createDemoDatabase(path, today);
        const qint64 ms = timer.elapsed();

        db::Connection c;
        c.openSqliteFile(path);
        print(QStringLiteral("Örnek veritabanı oluşturuldu: %1 (%2 ms, bugün: %3)")
                  .arg(path)
                  .arg(ms)
                  .arg(today.toString(Qt::ISODate)));
        if (extraCount > 0) {
            timer.restart();
            fixture::insertOperations(c, extraCount, today, 1u);
            print(QStringLiteral("%1 ek işlem eklendi (%2 ms).").arg(extraCount).arg(timer.elapsed()));
        }
        for (const char* t : {"KULLANICI", "ADRES", "DOSYALAR", "KALEMLER", "TCGBACMA", "OZETBEYAN",
                              "TEMINAT", "FAALIYETRAPOREK", "ANT_BEYANNAME", "ANT_HAREKET", "ANT_OZETBEYAN",
                              "ANT_ACMA", "ANT_TEMINAT"}) {
            const QString table = QString::fromLatin1(t);
            print(QStringLiteral("  %1 %2")
                      .arg(table, -16)
                      .arg(scalar(c, QStringLiteral("SELECT COUNT(*) FROM ") + table)));
        }
        print(QStringLiteral("  Son 30 günde kaydedilen işlem: %1")
                  .arg(scalar(c, QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME WHERE KAYITZAMANI >= :T"),
                              {QDateTime(today.addDays(-30), QTime(0, 0))})));
        print(QStringLiteral("Kullanıcılar (kullanıcı / şifre / süper / antrepo yetkisi):"));
        for (const auto& u : fixture::demoUsers())
            print(QStringLiteral("  %1 %2 %3 %4")
                      .arg(QString::fromUtf8(u.logon), -8)
                      .arg(u.windowsLogon ? QStringLiteral("(Windows: %1)").arg(QString::fromUtf8(u.domain))
                                          : QString::fromUtf8(u.password),
                           -16)
                      .arg(u.superUser)
                      .arg(u.warehouseRight ? 1 : 0));
    } catch (const db::DbError& e) {
        printError(QStringLiteral("HATA: %1").arg(e.message()));
        if (!e.statement().isEmpty()) printError(e.statement());
        // a half-written database would only mislead
        for (const QString& f : {path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm")})
            QFile::remove(f);
        return 1;
    }
    return 0;
}
