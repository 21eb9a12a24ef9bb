#include "platform/system/Files.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace sys {

namespace {

LaunchHook& launchHook() {
    static LaunchHook hook;
    return hook;
}

bool readable(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly);
}

} // namespace

qint64 FileSize(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile() ? info.size() : -1;
}

QDateTime FileLastWriteTime(const QString& path) {
    if (!readable(path)) return {};
    return QFileInfo(path).lastModified().toLocalTime();
}

FileTimes GetFileTimes(const QString& path) {
    if (!readable(path)) return {};
    const QFileInfo info(path);
    return {info.birthTime().toLocalTime(), info.lastModified().toLocalTime(), info.lastRead().toLocalTime()};
}

bool SetFileDateTime(const QString& path, const QDateTime& localTime) {
    if (!localTime.isValid()) return false;
    const QTime t = localTime.time();
    const QDateTime even(localTime.date(), QTime(t.hour(), t.minute(), t.second() - t.second() % 2));
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) return false;
    return f.setFileTime(even, QFileDevice::FileModificationTime);
}

void setLaunchHook(LaunchHook hook) {
    launchHook() = std::move(hook);
}

bool StartProgram(const QString& program, const QString& parameters, const QString& workingDir) {
    if (launchHook()) return launchHook()({LaunchRequest::Kind::Program, program, parameters, workingDir});
    QProcess p;
    p.setProgram(program);
    p.setWorkingDirectory(workingDir);
#ifdef Q_OS_WIN
    // the text goes on as typed, the way the shell would hand it over
    p.setNativeArguments(parameters);
    p.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWNORMAL;
    });
#else
    p.setArguments(QProcess::splitCommand(parameters));
#endif
    return p.startDetached();
}

bool OpenAddress(const QString& address) {
    if (launchHook()) return launchHook()({LaunchRequest::Kind::Address, address, {}, {}});
    // handed on as it is: fromUserInput would trim and guess a scheme
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

} // namespace sys
