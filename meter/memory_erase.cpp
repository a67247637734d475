#include "meter/memory_erase.h"

namespace meter {

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
    int first = TransactTries(link, ClearLeqCountPacket, reply, ClearLeqCountEcho);
    const int erased = TransactTries(link, ErasePacket, reply, EraseEcho);
    if (first == LinkOk)
        first = erased;
    if (state.gMeterLeqMode) {
        const int level = SendPacketTries(link, LevelKeyPacket);
        if (first == LinkOk)
            first = level;
    }

    ui.SetHourglass(false);
    ui.ShowMessage(first == LinkOk
                       ? "erase memory successfully! Please power off and power on the meter again."
                       : FailureText(first));
    return first;
}

} // namespace meter
