#include "files/fleetbackup.h"

#include "files/workbook.h"

#include <QDir>

TFleetJob BackupJob(const QString& pattern)
{
    return [pattern](KktLink& link, const KktLinkArgs& args, const TWholeHooks& hooks, TFleetReport& report) {
        TKktRegister reg;
        RegistrationData registration;
        KktCommandReport last;
        const TWholeResult r = WatchingFailures(link, last, [&] { return ReadAll(link, args, reg, &registration, hooks); });
        if (r.part != kRegistrationPartCaption || r.ok())
            report.serial = QString::number(registration.SerialNumber);
        TakeWholeResult(r, last, QString(), report);
        if (!r.ok())
            return;
        const QString file = FleetFileName(pattern, args, report.serial);
        if (const QString error = SaveWorkbook(file, reg, TRegisterParts::All(), &registration, DescribeCopy(args, &registration));
            !error.isEmpty()) {
            report.ok = false;
            report.result = error;
            return;
        }
        report.result = QStringLiteral("сохранено в \"%1\"").arg(QDir::toNativeSeparators(file));
    };
}
