#pragma once

#include "platform/ui/Messages.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TDM1;
namespace db {
class Connection;
}

namespace testing {

// A SQLite database file in a temporary folder holding the customs product's tables and
// the basic fixture rows. Optionally prepared for the program (warehouse tables etc.).
class TempDb {
public:
    enum Content { CustomsOnly, Prepared };
    explicit TempDb(Content content = Prepared);
    QString path() const { return m_path; }
    QString dir() const { return m_dir.path(); }
    // A data module connected to this file, start-up's database steps done when Prepared.
    std::unique_ptr<TDM1> openDataModule() const;
    // Writes a configuration file pointing at this database and returns its path.
    QString writeConfig() const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// Records every message shown and answers the questions from a script (default: OK/Yes).
class MessageRecorder {
public:
    struct Entry {
        ui::MessageKind kind;
        QString text;
    };
    MessageRecorder();
    ~MessageRecorder();
    void answer(bool value) { m_answers.append(value); }
    const QList<Entry>& entries() const { return m_entries; }
    QStringList texts() const;
    void clear() { m_entries.clear(); }

private:
    QList<Entry> m_entries;
    QList<bool> m_answers;
};

// The first column of a statement's first row; invalid when it returns no row.
QVariant scalar(db::Connection& c, const QString& sql, const QVariantList& params = {});

// Tests run under a fixed Turkish locale and a fixed time zone.
void initTestEnvironment();

} // namespace testing

#define TARVO_TEST_MAIN(TestClass)                                                                           \
    int main(int argc, char** argv) {                                                                        \
        testing::initTestEnvironment();                                                                      \
        QApplication app(argc, argv);                                                                        \
        TestClass tc;                                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
