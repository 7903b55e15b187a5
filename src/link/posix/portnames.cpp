#include "link/portnames.h"
#include "link/posix/simports.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <unistd.h>

namespace {

const QString kSimPrefix = QStringLiteral("kkt-sim");

// Device families in the order they are listed; within a family by number.
const QStringList kFamilies = {QStringLiteral("ttyS"),   QStringLiteral("ttyUSB"), QStringLiteral("ttyACM"),
                               QStringLiteral("ttyAMA"), QStringLiteral("ttyXRUSB"), QStringLiteral("rfcomm")};

// A ttyS node exists for every possible UART; only those with hardware behind them have a type.
bool uartPresent(const QString& device)
{
    QFile type(QStringLiteral("/sys/class/tty/%1/type").arg(device));
    if (!type.open(QIODevice::ReadOnly))
        return true;  // no sysfs to ask: keep the device
    return type.readAll().trimmed() != "0";
}

QString ReadSysText(const QDir& dir, const QString& file)
{
    QFile f(dir.filePath(file));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).trimmed();
}

// Maker and product of the USB device a tty hangs off: the first folder above the tty's device
// that has USB vendor numbers.
QString UsbDevice(const QString& sysRoot, const QString& device)
{
    const QString start = QFileInfo(QStringLiteral("%1/class/tty/%2/device").arg(sysRoot, device)).canonicalFilePath();
    if (start.isEmpty())
        return {};
    QDir dir(start);
    for (int up = 0; up < 6; ++up) {
        if (QFileInfo::exists(dir.filePath(QStringLiteral("idVendor")))) {
            const QString maker = ReadSysText(dir, QStringLiteral("manufacturer"));
            const QString product = ReadSysText(dir, QStringLiteral("product"));
            const QString named = QStringList({maker, product}).join(QLatin1Char(' ')).trimmed();
            if (!named.isEmpty())
                return named;
            return QStringLiteral("USB %1:%2").arg(ReadSysText(dir, QStringLiteral("idVendor")),
                                                   ReadSysText(dir, QStringLiteral("idProduct")));
        }
        if (!dir.cdUp())
            break;
    }
    return {};
}

// The /dev/serial/by-id link that points at the device: stable across re-plugging.
QString ById(const QString& devRoot, const QString& device)
{
    const QString target = QFileInfo(devRoot + QLatin1Char('/') + device).canonicalFilePath();
    if (target.isEmpty())
        return {};
    QDir byId(devRoot + QStringLiteral("/serial/by-id"));
    for (const QString& link : byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        if (QFileInfo(byId.filePath(link)).canonicalFilePath() == target)
            return link;
    }
    return {};
}

}  // namespace

QString PortDescription(const QString& name)
{
    return PortDescription(name, QStringLiteral("/sys"), QStringLiteral("/dev"));
}

QString PortDescription(const QString& name, const QString& sysRoot, const QString& devRoot)
{
    if (IsSimPortName(name)) {
        const QString terminal = QFileInfo(ResolvePortPath(name)).symLinkTarget();
        return terminal.isEmpty() ? QStringLiteral("симулятор ККТ") : QStringLiteral("симулятор ККТ, ") + terminal;
    }
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return {};
    const QString usb = UsbDevice(sysRoot, name);
    const QString stable = ById(devRoot, name);
    if (!usb.isEmpty() && !stable.isEmpty())
        return QStringLiteral("%1 (%2)").arg(usb, stable);
    return usb.isEmpty() ? stable : usb;
}

QString SimPublishDir()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QString::fromLocal8Bit(runtime) + QStringLiteral("/kkt-sim");
    return QStringLiteral("/tmp/kkt-sim-%1").arg(::getuid());
}

bool IsSimPortName(const QString& name)
{
    return name.startsWith(kSimPrefix) && !name.contains(QLatin1Char('/'));
}

QString ResolvePortPath(const QString& name)
{
    if (name.isEmpty())
        return {};
    if (name.contains(QLatin1Char('/')))
        return name;
    if (IsSimPortName(name))
        return SimPublishDir() + QLatin1Char('/') + name;
    return QStringLiteral("/dev/") + name;
}

QStringList GetCOM_Loop()
{
    struct Entry {
        int family;
        int number;
        QString name;
    };
    std::vector<Entry> found;
    const QRegularExpression pattern(QStringLiteral("^(%1)(\\d+)$").arg(kFamilies.join(QLatin1Char('|'))));
    const QStringList devices = QDir(QStringLiteral("/dev")).entryList(QDir::System | QDir::Files);
    for (const QString& device : devices) {
        const auto match = pattern.match(device);
        if (!match.hasMatch())
            continue;
        if (match.captured(1) == QLatin1String("ttyS") && !uartPresent(device))
            continue;
        found.push_back({static_cast<int>(kFamilies.indexOf(match.captured(1))), match.captured(2).toInt(), device});
    }
    std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
        return a.family != b.family ? a.family < b.family : a.number < b.number;
    });
    QStringList names;
    for (const Entry& e : found)
        names << e.name;

    // Published simulators whose pseudo-terminal still exists.
    QDir published(SimPublishDir());
    QStringList sims = published.entryList({kSimPrefix + QLatin1Char('*')}, QDir::System | QDir::Files, QDir::Name);
    for (const QString& sim : sims) {
        if (QFileInfo(published.filePath(sim)).exists())
            names << sim;
    }
    return names;
}
