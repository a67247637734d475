// "Erase Memory": after a confirmation, clears the meter's count of stored
// LEQ records (memory byte 0x1E := 0), erases the logger memory and, when
// the meter is in LEQ mode, presses its LEVEL key so that it returns to
// level mode.
//
// Every step runs, whatever the one before returned; the message reports
// success only when every step succeeded. Otherwise it says which steps were
// done, which may have been done (the meter took the command and its reply
// was lost: reload to check) and which failed, with the failure of the first
// step that failed (a failure alone when no step reached the meter). Refused
// without a meter and while the meter records.
#pragma once

#include "meter/meter_commands.h"

#include <string>

namespace meter {

// The fixed packets of the erase.
inline constexpr TCommandPacket ClearLeqCountPacket = {0x02, 'W', 0x00, 0x00, 0x1E, 0x00, 0x03};
inline constexpr TCommandPacket ErasePacket = {0x02, 'e', 'r', 'a', 's', 'e', 0x03};
inline constexpr TCommandPacket LevelKeyPacket = {0x02, 'L', 0x00, 0x00, 0x00, 0x00, 0x03};

// The echo tests: the count clear repeats bytes 3..6, the erase all seven.
inline constexpr TEcho ClearLeqCountEcho{3, 6};
inline constexpr TEcho EraseEcho{0, 6};

inline constexpr const char *EraseQuestion = "Are you sure to erase memory ?";
inline constexpr const char *EraseSuccessText =
    "erase memory successfully! Please power off and power on the meter again.";

// The message after the steps: the results of the count clear and the
// erase, and the code of the LEVEL key (LinkOk when the meter was not in
// LEQ mode).
std::string EraseResultText(const TStepResult &cleared, const TStepResult &erased, int level,
                            bool leqMode);

// The erase did not start: no meter, the meter recording, the question
// answered No, or another link operation running.
constexpr int EraseRefused = -1;

// Runs the command. Returns 0 when every step succeeded, EraseRefused, or
// the code of the first step that failed.
int EraseMemory(TMeterLink &link, const TMeterState &state, TCommandUi &ui);

} // namespace meter
