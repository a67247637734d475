// "Load LEQ data": reads the number of stored LEQ records from the meter's
// memory byte 0x1E, runs the LEQ handshake 'Z', reads the 2,560 bytes of the
// LEQ memory in 32-byte blocks and lists the first records (at most 100) in
// the LEQ record list, one grid row per record.
//
// The load holds the link operation guard from its first exchange to its
// end: MainTimer is off, other link commands are refused, and the list
// window cannot be closed while the blocks come in (window messages run
// between blocks). A failure says what went wrong: the link's message for
// the code, or the error text with the code; the list then keeps the records
// it showed before.
#pragma once

#include "meter/leq_record.h"
#include "meter/meter_commands.h"

namespace meter {

// The LEQ record list window as the load fills it.
class TLeqListSink {
public:
    virtual ~TLeqListSink() = default;
    // Restores the list window, or makes it when there is none; returns it,
    // for the load to keep it from closing.
    virtual const void *ShowLeqList() = 0;
    // Empties columns 1..5 of rows 1..100 (once the whole memory is in).
    virtual void ClearLeqRows() = 0;
    // Columns 1..5 of grid row `row` (record row - 1).
    virtual void SetLeqRow(int row, const TLeqRecordCells &cells) = 0;
};

// The memory-read packet of the record count: 'r' at address 0x00001E.
inline constexpr TCommandPacket LeqCountPacket = {0x02, 'r', 0x00, 0x00, 0x1E, 0x00, 0x03};

// The load did not start: no meter, the meter recording, or another link
// operation running (nothing shown for the last).
constexpr int LeqLoadRefused = -1;

// Runs the load. Returns 0 when the records were listed, LeqLoadRefused, or
// the code of the failure it reported: a link code of the count read or the
// handshake (the 15 tries are shared: the handshake gets those the count
// read did not fail), or 123, 124, 125 for a failed block request, block
// read or end request.
int LoadLeqData(TMeterLink &link, const TMeterState &state, TCommandUi &ui, TLeqListSink &list);

} // namespace meter
