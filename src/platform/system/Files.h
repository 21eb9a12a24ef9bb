#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

namespace sys {

// Size in bytes; -1 when the file does not exist.
qint64 FileSize(const QString& path);

// Last-write time in local time, to the millisecond; null when the file cannot be read.
QDateTime FileLastWriteTime(const QString& path);

struct FileTimes {
    QDateTime creation;
    QDateTime lastWrite;
    QDateTime lastAccess;
};
// Local times; all null when the file cannot be read. Creation is null where the file
// system does not keep it.
FileTimes GetFileTimes(const QString& path);

// Sets the last-write time, cut down to even seconds (the precision of the file date form
// the updater check was made for). False when the file cannot be opened for writing or the
// time is null.
bool SetFileDateTime(const QString& path, const QDateTime& localTime);

// A program or address handed to the system, as the launch hook sees it.
struct LaunchRequest {
    enum class Kind { Program, Address };
    Kind kind = Kind::Program;
    QString target;     // program file or address
    QString parameters; // command-line text (programs)
    QString workingDir; // (programs)
};
// Replaces the real start (tests record what would have been started); returns the
// success to report. An empty hook restores the real start.
using LaunchHook = std::function<bool(const LaunchRequest&)>;
void setLaunchHook(LaunchHook hook);

// Starts a program detached, with its parameter text, working folder and a normal window.
bool StartProgram(const QString& program, const QString& parameters, const QString& workingDir);

// Opens an address (web address or file) with the desktop's default handler.
bool OpenAddress(const QString& address);

} // namespace sys
