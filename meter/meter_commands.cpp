#include "meter/meter_commands.h"

#include <cctype>

namespace meter {

bool TEcho::Matches(const TCommandPacket &packet, const TReplyBlock &reply) const
{
    for (int i = First; i <= Last; ++i)
        if (reply[static_cast<size_t>(i)] != packet[static_cast<size_t>(i)])
            return false;
    return true;
}

int TransactTries(TMeterLink &link, const TCommandPacket &packet, TReplyBlock &reply, TEcho echo,
                  int tries)
{
    return TransactStep(link, packet, reply, echo, tries).Code;
}

TStepResult TransactStep(TMeterLink &link, const TCommandPacket &packet, TReplyBlock &reply,
                         TEcho echo, int tries)
{
    TStepResult result{LinkNoAnswer, false};
    for (int i = 0; i < tries; ++i) {
        result.Code = link.Transact(packet, reply);
        // Transact reads only after the packet was written.
        if (result.Code == LinkReadFailed)
            result.ReplyLost = true;
        if (result.Code == LinkOk && !echo.Matches(packet, reply))
            result.Code = LinkNotEchoed;
        if (result.Code == LinkOk)
            break;
    }
    return result;
}

std::string ReplyLostText(const std::string &mayHave, const std::string &check)
{
    return mayHave + ": the meter took the command, but its reply was lost. " + check + "\n";
}

int SendPacketTries(TMeterLink &link, const TCommandPacket &packet, int tries)
{
    int code = LinkNoAnswer;
    for (int i = 0; i < tries; ++i) {
        code = link.SendPacket(packet);
        if (code == LinkOk)
            break;
    }
    return code;
}

std::string FailureText(int code)
{
    const std::string text = LinkMessage(code);
    return text.empty() ? LinkErrorText(code) : text;
}

bool ParseDecimal(const std::string &text, long long &value)
{
    size_t i = 0;
    const size_t n = text.size();
    auto blank = [&](size_t at) { return std::isspace(static_cast<unsigned char>(text[at])); };
    while (i < n && blank(i))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long v = 0;
    int digits = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (++digits > 18)
            return false;
        v = v * 10 + (text[i] - '0');
    }
    while (i < n && blank(i))
        ++i;
    if (digits == 0 || i != n)
        return false;
    value = negative ? -v : v;
    return true;
}

} // namespace meter
