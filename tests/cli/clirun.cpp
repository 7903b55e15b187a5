#include "clirun.h"

#include "files/csvtable.h"
#include "tables/tabledefs.h"

#include "cli/cli.h"

#include <QFile>
#include <QTextStream>

CliRun RunTool(const QStringList& args, bool progressBar)
{
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = RunCli(args, out, err, progressBar);
    out.flush();
    err.flush();
    return run;
}

QByteArray ReadAll(const QString& fileName)
{
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName.toStdString();
    return file.readAll();
}

void WriteAll(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << fileName.toStdString();
    file.write(bytes);
}

QStringList CliSimTest::Link(const QStringList& words) const
{
    // An empty settings file of the test's own: nothing comes from the user's configuration.
    const QString settings = m_dir.filePath(QStringLiteral("ProgSett.ini"));
    if (!QFile::exists(settings))
        WriteAll(settings, QByteArray());
    return QStringList{QStringLiteral("--settings"), settings,
                       QStringLiteral("--port"),     m_sim.portName(),
                       QStringLiteral("--speed"),    QStringLiteral("115200"),
                       QStringLiteral("--timeout"),  QStringLiteral("300"),
                       QStringLiteral("--number"),   QStringLiteral("1")} +
           words;
}

QString CliSimTest::File(const QString& name, const QByteArray& utf8)
{
    const QString path = Path(name);
    WriteAll(path, utf8);
    return path;
}

QByteArray GoodsCsv(const QMap<int, QString>& prices)
{
    const TGridData grid = InitGrid(TableId::Goods);
    QStringList header;
    for (int c = 0; c < grid.ColCount(); ++c)
        header.append(grid.Cell(c, 0));
    QList<QStringList> records{header};
    for (int r = 1; r <= 10; ++r)
        records.append({QString::number(r), QStringLiteral("Товар %1").arg(r), "", "", prices.value(r, "1.00"), "1", ""});
    return FormatCsv(records);
}
