#include "support/TestSupport.h"

#include "fixture/CustomsTables.h"
#include "platform/db/Connection.h"
#include "schema/DataModule1.h"
#include "startup/Baslangic.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QSqlQuery>

namespace testing {

void initTestEnvironment() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "Europe/Istanbul");
    qputenv("LANG", "tr_TR.UTF-8");
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

TempDb::TempDb(Content content) {
    if (!m_dir.isValid()) qFatal("no temporary folder");
    m_path = m_dir.filePath(QStringLiteral("tarvo.db"));
    {
        db::Connection c;
        c.openSqliteFile(m_path, true);
        fixture::createCustomsTables(c);
        fixture::seedBasics(c);
    }
    if (content == Prepared) {
        TDM1 dm;
        dm.TarvoDB.openSqliteFile(m_path);
        dm.Derleme = QStringLiteral("28");
        startup::VeritabaniniHazirla(dm);
    }
}

std::unique_ptr<TDM1> TempDb::openDataModule() const {
    auto dm = std::make_unique<TDM1>();
    dm->Uyarlama = QStringLiteral("1.0");
    dm->Derleme = QStringLiteral("28");
    dm->TarvoDB.openSqliteFile(m_path);
    return dm;
}

QString TempDb::writeConfig() const {
    const QString p = m_dir.filePath(QStringLiteral("TarvoAntrepo.ini"));
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write config");
    f.write("[Baglanti]\nSurucu=sqlite\nSunucuAdi=tarvo.db\n");
    return p;
}

QVariant scalar(db::Connection& c, const QString& sql, const QVariantList& params) {
    QSqlQuery q = c.run(sql, params);
    return q.next() ? q.value(0) : QVariant();
}

MessageRecorder::MessageRecorder() {
    ui::setMessageSink([this](ui::MessageKind kind, const QString& text) {
        m_entries.append({kind, text});
        if (kind == ui::MessageKind::Plain) return true;
        return m_answers.isEmpty() ? true : m_answers.takeFirst();
    });
}

MessageRecorder::~MessageRecorder() {
    ui::setMessageSink({});
}

QStringList MessageRecorder::texts() const {
    QStringList t;
    for (const auto& e : m_entries)
        t << e.text;
    return t;
}

} // namespace testing
