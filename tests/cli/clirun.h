#pragma once
#include "simserver.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// One run of the tool in this process: its exit status and what it wrote to each stream.
struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun RunTool(const QStringList& args, bool progressBar = false);

QByteArray ReadAll(const QString& fileName);
// A goods CSV of items 1..10 ("Товар N", section 1), each priced "1.00" unless `prices` says otherwise.
QByteArray GoodsCsv(const QMap<int, QString>& prices);
void WriteAll(const QString& fileName, const QByteArray& bytes);

// A simulated register on a pseudo-terminal, a scratch folder and the link options that reach it.
class CliSimTest : public ::testing::Test {
protected:
    // The link options for the simulator, then the command's words.
    QStringList Link(const QStringList& words) const;
    CliRun Run(const QStringList& words, bool progressBar = false) { return RunTool(Link(words), progressBar); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString File(const QString& name, const QByteArray& utf8);  // writes it, returns its path

    TestSim m_sim;
    QTemporaryDir m_dir;
};
