#include "link/recordlayout.h"

#include "text/conversion.h"

void PutGoodsItem(KktFrame& frame, int at, const KktGoodsItem& item)
{
    if (!item.name.isEmpty())
        frame.PutFrameText(item.name, at, 46);
    if (!item.barcode.isEmpty())
        frame.PutFrameInt(at + 46, 6, static_cast<uint64_t>(StrToInt64(item.barcode)));
    if (item.marking == QStringLiteral("м"))
        frame.buf[at + 52] = 1;
    if (!item.price.isEmpty())
        frame.PutFrameInt(at + 53, 5, static_cast<uint64_t>(StrToInt64(item.price)));
    if (!item.section.isEmpty())
        frame.buf[at + 58] = static_cast<uint8_t>(StrToInt(item.section));
    if (!item.quantity.isEmpty())
        frame.PutFrameInt(at + 59, 4, static_cast<uint32_t>(StrToInt(item.quantity)));
}

void GetGoodsItem(const KktFrame& frame, int at, KktGoodsItem& item)
{
    item.name = frame.GetFrameText(at, 46);
    item.barcode = QString::number(frame.GetFrameInt(at + 46, 6));
    item.marking = frame.buf[at + 52] == 1 ? QStringLiteral("м") : QString();
    item.price = QString::number(frame.GetFrameInt(at + 53, 5));
    item.section = QString::number(frame.buf[at + 58]);
    item.quantity = QString::number(frame.GetFrameInt(at + 59, 4));
}

void PutAgentRecord(KktFrame& frame, int at, const KktAgentRecord& agent)
{
    frame.buf[at] = agent.sign;
    frame.PutFrameText(agent.phoneSupplier, at + 1, 16);
    frame.PutFrameText(agent.phoneAgent, at + 17, 16);
    frame.PutFrameText(agent.phoneAcceptor, at + 33, 16);
    frame.PutFrameText(agent.nameSupplier, at + 49, 48);
    frame.PutFrameText(agent.addressOperator, at + 97, 48);
    frame.PutFrameInt(at + 145, 5, agent.innOperator);
    frame.PutFrameText(agent.nameOperator, at + 150, 48);
    frame.PutFrameText(agent.operation, at + 198, 24);
    frame.PutFrameText(agent.phoneOperator, at + 222, 16);
    frame.PutFrameInt(at + 238, 5, agent.innSupplier);
}

void GetAgentRecord(const KktFrame& frame, int at, KktAgentRecord& agent)
{
    agent.sign = frame.buf[at];
    agent.phoneSupplier = frame.GetFrameText(at + 1, 16);
    agent.phoneAgent = frame.GetFrameText(at + 17, 16);
    agent.phoneAcceptor = frame.GetFrameText(at + 33, 16);
    agent.nameSupplier = frame.GetFrameText(at + 49, 48);
    agent.addressOperator = frame.GetFrameText(at + 97, 48);
    agent.innOperator = frame.GetFrameInt(at + 145, 5);
    agent.nameOperator = frame.GetFrameText(at + 150, 48);
    agent.operation = frame.GetFrameText(at + 198, 24);
    agent.phoneOperator = frame.GetFrameText(at + 222, 16);
    agent.innSupplier = frame.GetFrameInt(at + 238, 5);
}
