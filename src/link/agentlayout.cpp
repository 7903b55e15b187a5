#include "link/agentlayout.h"

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
