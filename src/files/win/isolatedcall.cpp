#include "files/isolatedcall.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

TIsolatedResult RunIsolated(const TIsolatedJob& job, int timeOutMs)
{
    TIsolatedResult result;
    if (job.helper.isEmpty()) {
        result.error = QStringLiteral("нет программы для чтения");
        return result;
    }
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(job.helper.front() + QStringLiteral(".exe"));
    QProcess helper;
    helper.setProcessChannelMode(QProcess::SeparateChannels);
    helper.setStandardInputFile(QProcess::nullDevice());
    helper.start(program, job.helper.mid(1));
    if (!helper.waitForStarted(timeOutMs)) {
        result.error = QStringLiteral("не удалось запустить %1: %2").arg(QDir::toNativeSeparators(program),
                                                                          helper.errorString());
        return result;
    }
    if (!helper.waitForFinished(timeOutMs)) {
        helper.kill();
        helper.waitForFinished(-1);
        result.error = QStringLiteral("чтение не закончилось за %1 с").arg(timeOutMs / 1000.0);
        return result;
    }
    if (helper.exitStatus() == QProcess::CrashExit)
        result.error = QStringLiteral("чтение завершилось аварийно (код 0x%1)").arg(uint(helper.exitCode()), 8, 16,
                                                                                  QLatin1Char('0'));
    else if (helper.exitCode() != 0)
        result.error = QStringLiteral("чтение завершилось с кодом %1").arg(helper.exitCode());
    else {
        result.ok = true;
        result.output = helper.readAllStandardOutput();
    }
    return result;
}
