#include "support/TestSupport.h"

#include "platform/system/Files.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QString yaz(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

bool zamaniKoy(const QString& path, const QDateTime& dt) {
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.setFileTime(dt, QFileDevice::FileModificationTime);
}

struct Kayit {
    QList<sys::LaunchRequest> istekler;
    bool cevap = true;
    Kayit() {
        sys::setLaunchHook([this](const sys::LaunchRequest& r) {
            istekler.append(r);
            return cevap;
        });
    }
    ~Kayit() { sys::setLaunchHook({}); }
};

} // namespace

class FilesTest : public QObject {
    Q_OBJECT
private slots:
    void sizeAndTimeOfExistingAndMissingFiles() {
        QTemporaryDir dir;
        const QString path = yaz(dir, QStringLiteral("a.bin"), QByteArray(1234, 'x'));
        const QDateTime t(QDate(2024, 3, 5), QTime(10, 15, 7, 321));
        QVERIFY(zamaniKoy(path, t));

        QCOMPARE(sys::FileSize(path), qint64(1234));
        QCOMPARE(sys::FileLastWriteTime(path), t);
        QCOMPARE(sys::FileLastWriteTime(path).timeSpec(), Qt::LocalTime);
        QCOMPARE(sys::GetFileTimes(path).lastWrite, t);

        QCOMPARE(sys::FileSize(yaz(dir, QStringLiteral("bos"), {})), qint64(0));

        const QString yok = dir.filePath(QStringLiteral("yok.bin"));
        QCOMPARE(sys::FileSize(yok), qint64(-1));
        QVERIFY(sys::FileLastWriteTime(yok).isNull());
        const sys::FileTimes ft = sys::GetFileTimes(yok);
        QVERIFY(ft.creation.isNull() && ft.lastWrite.isNull() && ft.lastAccess.isNull());
    }

    void setFileDateTimeKeepsEvenSeconds_data() {
        QTest::addColumn<QDateTime>("given");
        QTest::addColumn<QDateTime>("stored");
        const QDate d(2023, 12, 31);
        QTest::newRow("odd second") << QDateTime(d, QTime(23, 59, 59, 999))
                                    << QDateTime(d, QTime(23, 59, 58));
        QTest::newRow("even second with ms")
            << QDateTime(d, QTime(8, 0, 4, 500)) << QDateTime(d, QTime(8, 0, 4));
        QTest::newRow("whole minute") << QDateTime(d, QTime(8, 1, 0)) << QDateTime(d, QTime(8, 1, 0));
    }

    void setFileDateTimeKeepsEvenSeconds() {
        QFETCH(QDateTime, given);
        QFETCH(QDateTime, stored);
        QTemporaryDir dir;
        const QString path = yaz(dir, QStringLiteral("g"), "abc");
        QVERIFY(sys::SetFileDateTime(path, given));
        QCOMPARE(sys::FileLastWriteTime(path), stored);
        QCOMPARE(sys::FileSize(path), qint64(3)); // the content stays
    }

    void setFileDateTimeFailures() {
        QTemporaryDir dir;
        const QString yok = dir.filePath(QStringLiteral("yok"));
        QVERIFY(!sys::SetFileDateTime(yok, QDateTime(QDate(2024, 1, 1), QTime(1, 2, 4))));
        QVERIFY(!QFile::exists(yok)); // not created by the attempt
        const QString path = yaz(dir, QStringLiteral("g"), "abc");
        const QDateTime once = sys::FileLastWriteTime(path);
        QVERIFY(!sys::SetFileDateTime(path, QDateTime()));
        QCOMPARE(sys::FileLastWriteTime(path), once);
    }

    void launchesGoThroughTheHook() {
        Kayit kayit;
        QVERIFY(sys::StartProgram(QStringLiteral("/opt/x/guncelle"), QStringLiteral("AUTO TARVOANTREPO"),
                                  QStringLiteral("/opt/x")));
        kayit.cevap = false;
        QVERIFY(!sys::OpenAddress(QStringLiteral("http://rapor.local/giris?id=7")));
        QCOMPARE(kayit.istekler.size(), 2);
        const auto& p = kayit.istekler[0];
        QCOMPARE(p.kind, sys::LaunchRequest::Kind::Program);
        QCOMPARE(p.target, QStringLiteral("/opt/x/guncelle"));
        QCOMPARE(p.parameters, QStringLiteral("AUTO TARVOANTREPO"));
        QCOMPARE(p.workingDir, QStringLiteral("/opt/x"));
        const auto& a = kayit.istekler[1];
        QCOMPARE(a.kind, sys::LaunchRequest::Kind::Address);
        QCOMPARE(a.target, QStringLiteral("http://rapor.local/giris?id=7"));
    }

#ifndef Q_OS_WIN
    // Without a hook the program really starts, in its working folder, with the text split
    // into arguments the way a shell would.
    void startProgramRuns() {
        QTemporaryDir dir;
        const QString script = yaz(dir, QStringLiteral("kayit.sh"),
                                   "#!/bin/sh\npwd > cikti.txt\necho \"$#:$1:$2\" >> cikti.txt\n");
        QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
        QVERIFY(sys::StartProgram(script, QStringLiteral("AUTO \"TARVO ANTREPO\""), dir.path()));
        const QString cikti = dir.filePath(QStringLiteral("cikti.txt"));
        const auto satirlar = [&] {
            QFile f(cikti);
            return f.open(QIODevice::ReadOnly)
                       ? QString::fromLocal8Bit(f.readAll()).split(u'\n', Qt::SkipEmptyParts)
                       : QStringList();
        };
        QTRY_COMPARE_WITH_TIMEOUT(satirlar().size(), 2, 10000);
        QCOMPARE(satirlar(),
                 (QStringList{QDir(dir.path()).canonicalPath(), QStringLiteral("2:AUTO:TARVO ANTREPO")}));
    }
#endif
};

TARVO_TEST_MAIN(FilesTest)
#include "test_files.moc"
