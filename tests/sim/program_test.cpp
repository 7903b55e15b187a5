#include "simserver.h"

#include "link/portnames.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SimProgram, ServesAPublishedPortAndTakesFaultsOnItsInput)
{
    SimProcess sim({QStringLiteral("--name"), QStringLiteral("kkt-sim-prog")});
    ASSERT_TRUE(sim.started()) << sim.error().toStdString();
    EXPECT_TRUE(sim.devicePath().startsWith(QStringLiteral("/dev/pts/")));
    EXPECT_EQ(sim.portName(), QStringLiteral("kkt-sim-prog"));
    EXPECT_TRUE(GetCOM_Loop().contains(sim.portName()));

    KktLink link;
    KktStatusInfo info;
    EXPECT_EQ(link.KktStatus(sim.linkArgs(), info), 0);
    EXPECT_EQ(sim.command(QStringLiteral("fault silence 1")), QStringLiteral("ok"));
    EXPECT_EQ(link.KktStatus(sim.linkArgs(300), info), 2);
    EXPECT_EQ(link.KktStatus(sim.linkArgs(), info), 0);
    EXPECT_TRUE(sim.command(QStringLiteral("fault silence sometimes")).startsWith(QStringLiteral("error: ")));
    EXPECT_TRUE(sim.command(QStringLiteral("dance")).startsWith(QStringLiteral("error: ")));

    // A second simulator under the same name is refused with a message; the first keeps serving.
    QProcess twin;
    twin.start(QStringLiteral(KKT_SIM_PATH), {QStringLiteral("--name"), QStringLiteral("kkt-sim-prog")});
    ASSERT_TRUE(twin.waitForFinished(10000));
    EXPECT_NE(twin.exitCode(), 0);
    EXPECT_TRUE(twin.readAllStandardError().contains("already published"));
    EXPECT_EQ(link.KktStatus(sim.linkArgs(), info), 0);

    const QString published = ResolvePortPath(sim.portName());
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(QFileInfo(published).isSymLink());
}

TEST(SimProgram, StateFileKeepsWhatWasWrittenAcrossRuns)
{
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("kkt.json"));
    const QString text = QStringLiteral("Клише \u0098 строка");  // U+0098 travels as byte 0x98
    {
        SimProcess sim({QStringLiteral("--state"), state, QStringLiteral("--demo-data")});
        ASSERT_TRUE(sim.started());
        KktLink link;
        QString value;
        EXPECT_EQ(link.KktParam(sim.linkArgs(), KKT_READ, 0, 1, 1, value), 0);
        EXPECT_EQ(value, QStringLiteral("Иванова А.П."));
        value = text;
        EXPECT_EQ(link.KktParam(sim.linkArgs(), KKT_WRITE, 4, 7, 1, value), 0);
        EXPECT_EQ(sim.stop(), 0);
    }
    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(QJsonDocument::fromJson(file.readAll()).object().isEmpty());
    {
        SimProcess sim({QStringLiteral("--state"), state});
        ASSERT_TRUE(sim.started());
        KktLink link;
        QString value;
        EXPECT_EQ(link.KktParam(sim.linkArgs(), KKT_READ, 4, 7, 1, value), 0);
        EXPECT_EQ(value, text);
        uint16_t code = 1;
        KktGoodsItem item;
        EXPECT_EQ(link.KktGoods(sim.linkArgs(), KKT_READ, code, item), 0);
        EXPECT_EQ(item.name, QStringLiteral("Хлеб белый"));
    }
}

TEST(SimProgram, RefusesBadOptionsAndDamagedStateFilesWithAMessage)
{
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("bad.json"));
    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "kkt-sim state 1", "serialNumber": 1, "registered": 0, "registration": "",
                   "goods": [{"code": 6001, "hex": "41"}]})");
    file.close();
    const QList<QStringList> cases = {
        {QStringLiteral("--name"), QStringLiteral("ttyS0")},
        {QStringLiteral("--number"), QStringLiteral("x")},
        {QStringLiteral("--baud"), QStringLiteral("0")},
        {QStringLiteral("--fault"), QStringLiteral("tiny 9 1")},
        {QStringLiteral("--state"), state},
    };
    TestRuntimeDir runtime;
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        QProcess p;
        p.start(QStringLiteral(KKT_SIM_PATH), args);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_NE(p.exitCode(), 0);
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
        EXPECT_FALSE(p.readAllStandardError().trimmed().isEmpty());
    }
    QFile again(state);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_TRUE(again.readAll().contains("6001"));  // the damaged file is left for the user to mend
}
