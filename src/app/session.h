#pragma once
#include "app/settings.h"
#include "link/kktlink.h"

#include <functional>

// What every window of a run works with: the link settings and the one register link (one frame,
// one port, commands one at a time). The main window owns it for the program's lifetime.
struct KktSession {
    TStructSetting StructSett;
    KktLink Link;
    // Where the main window says how something ended that no command result tells: a run the user
    // stopped, a workbook saved or loaded (its status bar). Unset where nothing shows it.
    std::function<void(const QString& text)> ShowStatus;

    void Tell(const QString& text) const
    {
        if (ShowStatus)
            ShowStatus(text);
    }

    // The link arguments of the program settings, as most commands take them.
    KktLinkArgs LinkArgs() const
    {
        KktLinkArgs a;
        a.port = StructSett.PortSett.Name;
        a.speed = StructSett.PortSett.Speed;
        a.timeOut = StructSett.PortSett.TimeOut;
        a.numKkt = StructSett.NumKKT;
        return a;
    }
};
