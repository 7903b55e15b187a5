#pragma once
#include "link/kktlink.h"

#include <QString>

// Every one of the seven register commands, writes and reads, with Cyrillic texts, on one link: the
// frames as the link wrote and read them, one line each ("> hex" request, "< hex" answer), and each
// command's result ("= u 0"). The same run against a fresh register gives the same transcript on
// every system; a committed copy (tests/support/fixtures/seven-commands.txt) holds it.
QString SevenCommandsTranscript(KktLink& link, const KktLinkArgs& args);

// The committed transcript, read from the source tree.
QString ExpectedSevenCommandsTranscript(const QString& sourceDir);
