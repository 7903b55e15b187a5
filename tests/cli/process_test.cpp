#include "clirun.h"

#include <QProcess>

namespace {

struct ProcessRun {
    int status = -1;
    QString out;
    QString err;
};

ProcessRun RunProgram(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(KKT_CLI_PATH), args);
    ProcessRun run;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

}  // namespace

// The built program against the built simulator program, both as child processes.
TEST(CliProgram, TalksToTheSimulatorProgramAndReportsThroughItsExitStatus)
{
    SimProcess sim;
    ASSERT_TRUE(sim.started()) << sim.error().toStdString();
    QTemporaryDir dir;
    const QString settings = dir.filePath("ProgSett.ini");
    WriteAll(settings, QByteArray());
    const QStringList link{"--settings", settings, "--port", sim.portName(), "--speed", "115200", "--timeout", "500"};

    const ProcessRun ports = RunProgram({"ports"});
    EXPECT_EQ(ports.status, 0);
    EXPECT_TRUE(ports.out.split('\n').contains(sim.portName())) << ports.out.toStdString();

    const ProcessRun status = RunProgram(link + QStringList{"status"});
    EXPECT_EQ(status.status, 0) << status.err.toStdString();
    EXPECT_EQ(status.out, "Связь с ККТ установленна!\n");

    WriteAll(dir.filePath("ops.csv"), "Опер. №,Должность,ФИО,Пароль,ИНН кассира\n3,Кассир,Сидорова А.,7,\n");
    const ProcessRun write = RunProgram(link + QStringList{"write", "operators", "--input", dir.filePath("ops.csv")});
    EXPECT_EQ(write.status, 0) << write.err.toStdString();
    EXPECT_EQ(write.err, "");  // standard error is a pipe here: no progress bar
    const ProcessRun read = RunProgram(link + QStringList{"read", "operators", "--range", "3-3"});
    EXPECT_EQ(read.status, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, "Опер. №,Должность,ФИО,Пароль,ИНН кассира\n3,Кассир,Сидорова А.,7,\n");

    EXPECT_EQ(sim.command("fault silence always"), "ok");
    const ProcessRun failed = RunProgram(link + QStringList{"read", "operators"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "Внимание!\nОшибка (2) при чтении операторов. Оператор номер 1 !\n");

    const ProcessRun usage = RunProgram({"read", "tables"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(usage.err.contains("\"tables\"")) << usage.err.toStdString();
}
