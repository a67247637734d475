#include "meter/memory_erase.h"

namespace meter {

std::string EraseResultText(int cleared, int erased, int level, bool leqMode)
{
    if (cleared == LinkOk && erased == LinkOk && level == LinkOk)
        return EraseSuccessText;
    const bool anyDone = cleared == LinkOk || erased == LinkOk || (leqMode && level == LinkOk);
    if (!anyDone)
        return FailureText(cleared);
    // Some steps were done: say which, then why the others failed.
    std::string text = cleared == LinkOk ? "The count of LEQ records is cleared.\n"
                                         : "The count of LEQ records could not be cleared.\n";
    text += erased == LinkOk
                ? "The memory is erased. Please power off and power on the meter again.\n"
                : "The memory could not be erased.\n";
    if (leqMode)
        text += level == LinkOk ? "The meter is back in level mode.\n"
                                : "The meter could not be put back into level mode.\n";
    for (int code : {cleared, erased, level})
        if (code != LinkOk)
            return text + FailureText(code);
    return text;
}

int EraseMemory(TMeterLink &link, const TMeterState &state, TCommandUi &ui)
{
    if (!state.gConnected) {
        ui.ShowMessage(ui.StringById("IDS_106"));
        return EraseRefused;
    }
    if (state.gMeterRecording) {
        ui.ShowMessage(ui.StringById("IDS_109"));
        return EraseRefused;
    }
    // Another operation holds the link: do not ask a question that leads nowhere.
    if (link.Guard().Held() || !ui.Confirm(EraseQuestion))
        return EraseRefused;
    TLinkOperation op(link, "memory erase");
    if (!op)
        return EraseRefused;
    ui.SetHourglass(true);

    TReplyBlock reply{};
    const int cleared = TransactTries(link, ClearLeqCountPacket, reply, ClearLeqCountEcho);
    const int erased = TransactTries(link, ErasePacket, reply, EraseEcho);
    const int level = state.gMeterLeqMode ? SendPacketTries(link, LevelKeyPacket) : LinkOk;
    int first = LinkOk;
    for (int code : {cleared, erased, level})
        if (first == LinkOk)
            first = code;

    ui.SetHourglass(false);
    ui.ShowMessage(EraseResultText(cleared, erased, level, state.gMeterLeqMode));
    return first;
}

} // namespace meter
