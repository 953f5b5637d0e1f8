#include "platform/qt_program_runner.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

QStringList toList(const std::vector<std::string>& args) {
    QStringList list;
    for (const std::string& a : args)
        list << QString::fromLatin1(a.data(), static_cast<qsizetype>(a.size()));
    return list;
}

QString q(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

ProgramRun QtProgramRunner::run(const std::string& program, const std::vector<std::string>& args, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(q(program), toList(args));
    ProgramRun result;
    if (!process.waitForStarted(timeoutMs)) return result;
    result.started = true;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = process.readAll().toStdString();
    return result;
}

bool QtProgramRunner::startDetached(const std::string& program, const std::vector<std::string>& args) {
    return QProcess::startDetached(q(program), toList(args));
}

bool QtProgramRunner::exists(const std::string& program) {
    return !QStandardPaths::findExecutable(q(program)).isEmpty();
}
