#pragma once
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The options a command knows: "--name VALUE" (or "--name=VALUE") and bare flags such as "--yes".
struct TOptionSpec {
    QString name;  // with the dashes
    bool takesValue = true;
};

struct TParsedArgs {
    QHash<QString, QString> values;
    QSet<QString> flags;
    QStringList positional;
    bool help = false;  // "--help" or "-h" anywhere
    QString error;      // a usage error naming the option; empty when the words were understood

    bool ok() const { return error.isEmpty(); }
    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
    QString value(const QString& name) const { return values.value(name); }
};

// Sorts the words into options and positional words. With `stopAtPositional` the first positional
// word and everything after it are left unparsed in `positional` (the command and its own words).
// "--" ends the options: every later word is positional.
TParsedArgs ParseArgs(const QStringList& words, const QList<TOptionSpec>& specs, bool stopAtPositional = false);
