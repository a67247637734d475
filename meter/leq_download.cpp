#include "meter/leq_download.h"

#include "meter/logger_download.h"

#include <algorithm>
#include <vector>

namespace meter {

namespace {

constexpr TEcho CountEcho{0, 1}; // 0x02, 'r'
constexpr int CountByte = 6;
constexpr unsigned ListPauseMs = 100;

// Count read, handshake and blocks into buffer; count gets the stored
// record count. 0 or the code of the first failure.
int Transfer(TMeterLink &link, TCommandUi &ui, TLeqListSink &list, TLinkOperation &op,
             std::vector<uint8_t> &buffer, int &count)
{
    // One budget of tries for the count read and the handshake: a try that
    // fails uses one up.
    int failed = 0;
    int code = LinkNoAnswer;
    TReplyBlock reply{};
    for (; failed < CommandTries; ++failed) {
        code = link.Transact(LeqCountPacket, reply);
        if (code == LinkOk && !CountEcho.Matches(LeqCountPacket, reply))
            code = LinkNotEchoed;
        if (code == LinkOk)
            break;
    }
    if (code != LinkOk)
        return code;
    count = reply[CountByte];

    code = LinkNoAnswer;
    for (; failed < CommandTries; ++failed) {
        code = link.HandshakeLeq();
        if (code == LinkOk)
            break;
    }
    ui.SetHourglass(false);
    if (code != LinkOk)
        return code;

    op.Protect(list.ShowLeqList());
    link.Delay(ListPauseMs);
    ui.SetHourglass(true);

    for (int remaining = LeqMemorySize; remaining != 0; remaining -= usb::ReplySize) {
        if (link.WriteCommand('p') != LinkOk) {
            link.Device().UsbClose();
            return DownloadRequestFailed;
        }
        if (link.ReadBlock() != LinkOk) {
            link.Device().UsbClose();
            return DownloadReadFailed;
        }
        buffer.insert(buffer.end(), link.gReply.begin(), link.gReply.end());
        ui.ProcessMessages();
    }
    if (link.WriteCommand('q') != LinkOk)
        return DownloadEndFailed;
    return LinkOk;
}

} // namespace

int LoadLeqData(TMeterLink &link, const TMeterState &state, TCommandUi &ui, TLeqListSink &list)
{
    if (!state.gConnected) {
        ui.ShowMessage(ui.StringById("IDS_106"));
        return LeqLoadRefused;
    }
    if (state.gMeterRecording) {
        ui.ShowMessage(ui.StringById("IDS_127"));
        return LeqLoadRefused;
    }
    TLinkOperation op(link, "LEQ-record load");
    if (!op)
        return LeqLoadRefused;
    ui.SetHourglass(true);

    std::vector<uint8_t> buffer;
    buffer.reserve(LeqMemorySize);
    int count = 0;
    const int code = Transfer(link, ui, list, op, buffer, count);
    // The list keeps the records it showed until a whole download replaces them.
    if (code == LinkOk && static_cast<int>(buffer.size()) == LeqMemorySize) {
        list.ClearLeqRows();
        const std::vector<TLeqRecordCells> rows =
            DecodeLeqRecords(buffer, std::min(count, LeqMaxRecords));
        for (size_t r = 0; r < rows.size(); ++r)
            list.SetLeqRow(static_cast<int>(r) + 1, rows[r]);
    }
    ui.SetHourglass(false);
    if (code != LinkOk)
        ui.ShowMessage(FailureText(code));
    return code;
}

} // namespace meter
