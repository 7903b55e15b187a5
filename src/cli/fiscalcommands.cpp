#include "cli/commands.h"
#include "cli/regfile.h"
#include "fiscal/registration.h"

namespace {

const TOptionSpec kInput{QStringLiteral("--input")};
const TOptionSpec kOutput{QStringLiteral("--output")};
const TOptionSpec kReasons{QStringLiteral("--reasons")};

int Register(TCliContext& ctx, const QString& command, const QStringList& words, uint8_t reregistration)
{
    QList<TOptionSpec> specs{kInput};
    if (reregistration)
        specs.append(kReasons);
    int exit = kExitOk;
    const auto args = CommandArgs(ctx, command, words, specs, 0, 0, exit);
    if (!args)
        return exit;
    const QString input = args->value(kInput.name);
    if (input.isEmpty())
        return ctx.UsageError(command + QStringLiteral(": нужен --input FILE"));
    ReasonFlags reasons{0, 0, 0, 0};
    if (QString error; args->has(kReasons.name) && !ParseReasons(args->value(kReasons.name), reasons, error))
        return ctx.UsageError(command + QStringLiteral(": ") + error);
    QByteArray bytes;
    if (!ctx.ReadFile(input, bytes))
        return kExitUsage;
    const TRegFileRead file = ParseRegFile(bytes);
    if (!file.ok())
        return ctx.FileError(input, file.error);
    if (!ctx.LinkReady())
        return kExitUsage;
    // Every number is converted before anything is sent; a bad one is the file's fault.
    RegistrationData data;
    const RegistrationReport report =
        RegistrationFun(ctx.session.Link, ctx.session.LinkArgs(), reregistration, reasons, file.form, data);
    if (report.outcome == RegistrationReport::InputRejected)
        return ctx.FileError(input, TCliContext::BoxText(report.message));
    if (report.outcome == RegistrationReport::LinkFailed)
        return ctx.Fail(report.message);
    ctx.Inform(report.message);
    return kExitOk;
}

}  // namespace

int CmdRegData(TCliContext& ctx, const QStringList& words)
{
    int exit = kExitOk;
    const auto args = CommandArgs(ctx, QStringLiteral("regdata"), words, {kOutput}, 0, 0, exit);
    if (!args)
        return exit;
    if (!ctx.LinkReady())
        return kExitUsage;
    RegistrationData data;
    const DataRequestReport report = FiscalDataRequestFun(ctx.session.Link, ctx.session.LinkArgs(), data);
    if (!report.ok())
        return ctx.Fail(report.message);
    return ctx.Emit(args->value(kOutput.name), FormatRegFile(data));
}

int CmdRegister(TCliContext& ctx, const QStringList& words)
{
    return Register(ctx, QStringLiteral("register"), words, 0);
}

int CmdReregister(TCliContext& ctx, const QStringList& words)
{
    return Register(ctx, QStringLiteral("reregister"), words, 1);
}
