#include "cli/commands.h"

#include "cli/clihelp.h"

std::optional<TParsedArgs> CommandArgs(TCliContext& ctx, const QString& command, const QStringList& words,
                                       const QList<TOptionSpec>& specs, int minPositional, int maxPositional,
                                       int& exit)
{
    TParsedArgs args = ParseArgs(words, specs);
    if (args.help) {
        ctx.out << CommandHelp(command);
        ctx.out.flush();
        exit = kExitOk;
        return std::nullopt;
    }
    if (!args.ok()) {
        exit = ctx.UsageError(command + QStringLiteral(": ") + args.error);
        return std::nullopt;
    }
    const int n = int(args.positional.size());
    if (n > maxPositional) {
        exit = ctx.UsageError(command + QStringLiteral(": лишний аргумент \"%1\"").arg(args.positional[maxPositional]));
        return std::nullopt;
    }
    if (n < minPositional) {
        exit = ctx.UsageError(command + QStringLiteral(": не хватает аргументов\n") + CommandHelp(command).trimmed());
        return std::nullopt;
    }
    for (const TOptionSpec& spec : specs) {
        if (spec.takesValue && args.values.contains(spec.name) && args.value(spec.name).isEmpty()) {
            exit = ctx.UsageError(command + QStringLiteral(": пустое значение параметра \"%1\"").arg(spec.name));
            return std::nullopt;
        }
    }
    return args;
}

CsvStyle CsvStyleOf(const TParsedArgs& args)
{
    return args.has(kSpreadsheetCsv.name) ? CsvStyle::Spreadsheet : CsvStyle::Plain;
}
