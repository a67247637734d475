#include "meter/memory_erase.h"

namespace meter {

std::string EraseResultText(const TStepResult &cleared, const TStepResult &erased, int level,
                            bool leqMode)
{
    if (cleared.Done() && erased.Done() && level == LinkOk)
        return EraseSuccessText;
    auto reached = [](const TStepResult &step) { return step.Done() || step.MaybeDone(); };
    if (!reached(cleared) && !reached(erased) && !(leqMode && level == LinkOk))
        return FailureText(cleared.Code);
    // Some steps reached the meter: say which, then why the others failed.
    std::string text;
    if (cleared.Done())
        text += "The count of LEQ records is cleared.\n";
    else if (cleared.MaybeDone())
        text += ReplyLostText("The count of LEQ records may have been cleared",
                              "Load the LEQ data again (Data Logger > Load LEQ data) to see "
                              "whether any record is left.");
    else
        text += "The count of LEQ records could not be cleared.\n";
    if (erased.Done())
        text += "The memory is erased. Please power off and power on the meter again.\n";
    else if (erased.MaybeDone())
        text += ReplyLostText("The memory may have been erased",
                              "Load the memory again (Data Logger > Load SPL Data) to see whether "
                              "it is empty; if it is, power the meter off and on again.");
    else
        text += "The memory could not be erased.\n";
    if (leqMode)
        text += level == LinkOk ? "The meter is back in level mode.\n"
                                : "The meter could not be put back into level mode.\n";
    for (int code : {cleared.Code, erased.Code, level})
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
    const TStepResult cleared = TransactStep(link, ClearLeqCountPacket, reply, ClearLeqCountEcho);
    const TStepResult erased = TransactStep(link, ErasePacket, reply, EraseEcho);
    const int level = state.gMeterLeqMode ? SendPacketTries(link, LevelKeyPacket) : LinkOk;
    int first = LinkOk;
    for (int code : {cleared.Code, erased.Code, level})
        if (first == LinkOk)
            first = code;

    ui.SetHourglass(false);
    ui.ShowMessage(EraseResultText(cleared, erased, level, state.gMeterLeqMode));
    return first;
}

} // namespace meter
