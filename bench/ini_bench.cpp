#include "app/myinifile.h"
#include "bench.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <vector>

namespace {

// The size of a full configuration file: 6045 sections holding 30379 keys, values wrapped in
// U+007F, Cyrillic section and key names.
constexpr int kSections = 6045;
constexpr int kKeys = 30379;

QString sectionName(int i)
{
    return QStringLiteral("ТОВАР_#%1").arg(i);
}

// Keys spread five to a section, the first sections taking one more.
template <typename Fn>
void forEachValue(Fn&& fn)
{
    const int extra = kKeys - kSections * 5;
    const QChar wrap(0x7F);
    for (int i = 1; i <= kSections; ++i) {
        const int keys = i <= extra ? 6 : 5;
        for (int k = 0; k < keys; ++k)
            fn(sectionName(i), QStringLiteral("Поле%1").arg(k),
               wrap + QStringLiteral("Молоко 3,2% пачка %1.%2").arg(i).arg(k) + wrap);
    }
}

double elapsedMs(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

}  // namespace

KKT_BENCH(ini,
          "ini_load_6045_sections", "ini_save_6045_sections", "qsettings_load_6045_sections",
          "qsettings_save_6045_sections", "ini_load_ratio_vs_qsettings", "ini_save_ratio_vs_qsettings")
{
    constexpr int kRuns = 9;
    QTemporaryDir dir;
    const QString iniPath = dir.filePath("config.ini");
    const QString qsPath = dir.filePath("qsettings.ini");
    {
        TmyIniFile ini(iniPath);
        forEachValue([&](const QString& s, const QString& k, const QString& v) { ini.WriteString(s, k, v); });
        ini.UpdateFile();
        QSettings qs(qsPath, QSettings::IniFormat);
        forEachValue([&](const QString& s, const QString& k, const QString& v) { qs.setValue(s + '/' + k, v); });
        qs.sync();
    }

    std::vector<double> iniLoad, iniSave, qsLoad, qsSave;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        TmyIniFile ini(iniPath);
        iniLoad.push_back(elapsedMs(t));
        if (ini.SectionCount() != kSections || ini.KeyCount() != kKeys)
            BenchFail(QStringLiteral("ini bench: document holds %1 sections, %2 keys").arg(ini.SectionCount()).arg(ini.KeyCount()));
        ini.WriteString(sectionName(run + 1), QStringLiteral("Поле0"), QString::number(run));
        t.start();
        ini.UpdateFile();
        iniSave.push_back(elapsedMs(t));

        // QSettings keeps parsed files in a process-wide cache: a fresh path per run forces a read.
        // It splits the file into sections at once but parses a section's keys only when first read.
        const QString copy = dir.filePath(QStringLiteral("qs%1.ini").arg(run));
        QFile::copy(qsPath, copy);
        t.start();
        QSettings qs(copy, QSettings::IniFormat);
        const QVariant probe = qs.value(sectionName(kSections) + QStringLiteral("/Поле0"));
        qsLoad.push_back(elapsedMs(t));
        if (!probe.isValid())
            BenchFail(QStringLiteral("ini bench: QSettings did not read its file"));
        qs.setValue(sectionName(run + 1) + QStringLiteral("/Поле0"), QString::number(run));
        t.start();
        qs.sync();
        qsSave.push_back(elapsedMs(t));
    }

    const double load = Median(iniLoad);
    const double save = Median(iniSave);
    const double qload = Median(qsLoad);
    const double qsave = Median(qsSave);
    out.push_back({QStringLiteral("ini_load_6045_sections"), load, QStringLiteral("ms")});
    out.push_back({QStringLiteral("ini_save_6045_sections"), save, QStringLiteral("ms")});
    out.push_back({QStringLiteral("qsettings_load_6045_sections"), qload, QStringLiteral("ms")});
    out.push_back({QStringLiteral("qsettings_save_6045_sections"), qsave, QStringLiteral("ms")});
    // Our time as a multiple of QSettings' time on the same content: below 1 means faster.
    out.push_back({QStringLiteral("ini_load_ratio_vs_qsettings"), load / qload, QStringLiteral("x")});
    out.push_back({QStringLiteral("ini_save_ratio_vs_qsettings"), save / qsave, QStringLiteral("x")});
}
