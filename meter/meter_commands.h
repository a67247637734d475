// What the meter commands of the logger side share: the window services
// they talk to the user through, and the retried transactions they are
// built from.
//
// A command of the logger side repeats its transaction up to 15 times,
// counting afresh for each step, until one try succeeds. A try fails when the
// transaction returns a link code, or when it returns 0 but the reply does
// not repeat the packet bytes the command checks (code 707).
#pragma once

#include "meter/link.h"

#include <string>

namespace meter {

constexpr int CommandTries = 15;

// What the status poll last saw of the meter, as the commands check it (the
// flags of the main window's timer logic; MainTimer is off while a command
// runs, so they hold still).
struct TMeterState {
    bool gConnected = false;
    bool gMeterRecording = false;
    bool gMeterLeqMode = false;
};

// The window services of a meter command: messages, the confirmation
// question, string ids, the hourglass and letting window messages run.
// Texts are 8-bit texts in the system code page.
class TCommandUi {
public:
    virtual ~TCommandUi() = default;
    virtual void ShowMessage(const std::string &text) = 0;
    // A confirmation with the buttons "Yes" and "No": true only for Yes.
    virtual bool Confirm(const std::string &text) = 0;
    // The text of a string id ("IDS_106") in the active language.
    virtual std::string StringById(const std::string &id) = 0;
    // The hourglass over the whole program, or the default cursor again.
    virtual void SetHourglass(bool on) = 0;
    // Lets pending window messages run.
    virtual void ProcessMessages() = 0;
};

// Which reply bytes must repeat the packet's: bytes First..Last; an empty
// range (First > Last) tests nothing.
struct TEcho {
    int First = 1;
    int Last = 0;
    bool Matches(const TCommandPacket &packet, const TReplyBlock &reply) const;
};
inline constexpr TEcho NoEcho{};

// Transact with up to tries tries; 0, 707 or the last try's link code.
int TransactTries(TMeterLink &link, const TCommandPacket &packet, TReplyBlock &reply, TEcho echo,
                  int tries = CommandTries);

// What the tries of one step came to: the last try's code, and whether a try
// wrote the packet and then read no reply. The meter may have carried out a
// step that failed so (it took the command and was unplugged before it
// answered): the program cannot know, and says so.
struct TStepResult {
    int Code = LinkOk;
    bool ReplyLost = false;
    bool Done() const { return Code == LinkOk; }
    bool MaybeDone() const { return Code != LinkOk && ReplyLost; }
};
// TransactTries, telling a lost reply.
TStepResult TransactStep(TMeterLink &link, const TCommandPacket &packet, TReplyBlock &reply,
                         TEcho echo, int tries = CommandTries);

// One line for a step the meter may have carried out: mayHave ("The memory
// may have been erased"), why the program cannot tell, and what to check.
std::string ReplyLostText(const std::string &mayHave, const std::string &check);
// SendPacket with up to tries tries, stopping at the first result 0.
int SendPacketTries(TMeterLink &link, const TCommandPacket &packet, int tries = CommandTries);

// The message of a failed command: the link's fixed text for its code
// ("data error", "fail to read", ...), or "There was error,please try
// again!   error code=" and the code for a code without one (1001).
std::string FailureText(int code);

// A whole decimal number with optional blanks around it and an optional
// sign; false for anything else (empty text, letters, a fraction, more than
// 18 digits).
bool ParseDecimal(const std::string &text, long long &value);

} // namespace meter
