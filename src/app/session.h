#pragma once
#include "app/settings.h"
#include "link/kktlink.h"

// What every window of a run works with: the link settings and the one register link (one frame,
// one port, commands one at a time). The main window owns it for the program's lifetime.
struct KktSession {
    TStructSetting StructSett;
    KktLink Link;

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
