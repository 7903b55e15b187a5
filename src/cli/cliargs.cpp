#include "cli/cliargs.h"

namespace {

const TOptionSpec* FindSpec(const QList<TOptionSpec>& specs, const QString& name)
{
    for (const TOptionSpec& s : specs)
        if (s.name == name)
            return &s;
    return nullptr;
}

}  // namespace

TParsedArgs ParseArgs(const QStringList& words, const QList<TOptionSpec>& specs, bool stopAtPositional)
{
    TParsedArgs parsed;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (word == QLatin1String("--")) {
            parsed.positional += words.mid(i + 1);
            break;
        }
        // A lone "-" is a positional word (a name), as is anything that does not start with a dash.
        if (!word.startsWith(u'-') || word == QLatin1String("-")) {
            if (stopAtPositional) {
                parsed.positional += words.mid(i);
                break;
            }
            parsed.positional.append(word);
            continue;
        }
        if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            parsed.help = true;
            continue;
        }
        const qsizetype eq = word.indexOf(u'=');
        const QString name = eq < 0 ? word : word.left(eq);
        const TOptionSpec* spec = FindSpec(specs, name);
        if (!spec) {
            parsed.error = QStringLiteral("неизвестный параметр \"%1\"").arg(name);
            return parsed;
        }
        if (parsed.has(name)) {
            parsed.error = QStringLiteral("параметр \"%1\" задан дважды").arg(name);
            return parsed;
        }
        if (!spec->takesValue) {
            if (eq >= 0) {
                parsed.error = QStringLiteral("параметр \"%1\" не принимает значения").arg(name);
                return parsed;
            }
            parsed.flags.insert(name);
            continue;
        }
        if (eq >= 0) {
            parsed.values.insert(name, word.mid(eq + 1));
            continue;
        }
        if (i + 1 >= words.size()) {
            parsed.error = QStringLiteral("параметру \"%1\" нужно значение").arg(name);
            return parsed;
        }
        parsed.values.insert(name, words[++i]);
    }
    return parsed;
}
