// The receive side of the game protocol: the bytes after a chunk plan (VyChunkPlan) are what a peer
// sent, fed to VyMsgDecoder in the plan's chunks. Checked for every input: the chunked decode gives
// the messages and the end state of a decode of everything at once; the buffer stays within what
// the decoder promises; every decoded message encodes to bytes that decode to it again.
#include <string>
#include <vector>

#include "VyChunkPlan.h"
#include "VyFuzzCheck.h"
#include "VyFuzzInput.h"
#include "VyMsgDecoder.h"
#include "VyWireBytes.h"

namespace
{
// An unfinished message: type code, version, message version, a string's longest prefix and text.
constexpr size_t VY_MAX_UNFINISHED = 12 + 7 + VY_MAX_WIRE_STRING;

struct Outcome
{
    std::vector<std::string> messages;
    VyCloseReason reason = VyCloseReason::NONE;
    unsigned int peerVersion = 0;
    bool bHandshakeDone = false;
    bool operator==(const Outcome&) const = default;
};

// Decodes until the decoder wants more or closes, checking each message's encoding on the way.
VyMsgDecoder::Result DrainChecked(VyMsgDecoder& decoder, Outcome& outcome)
{
    for (;;)
    {
        const VyMsgDecoder::Result result = decoder.Next();
        if (result != VyMsgDecoder::Result::MESSAGE_READY)
            return result;
        const std::unique_ptr<VySocketMsg> message = decoder.TakeMessage();
        VyFuzzCheck(message != nullptr, "MESSAGE_READY without a message");
        const std::string described = VyDescribeMsg(*message);
        VyMsgDecoder again;
        const VyBytes frame = VyWireHandshake() + message->Encode();
        again.Feed(frame.data(), frame.size());
        VyFuzzCheck(again.Next() == VyMsgDecoder::Result::MESSAGE_READY, "an encoded message does not decode");
        VyFuzzCheck(VyDescribeMsg(*again.TakeMessage()) == described, "an encoded message decodes to another");
        outcome.messages.push_back(described);
    }
}

void Finish(const VyMsgDecoder& decoder, Outcome& outcome)
{
    outcome.reason = decoder.GetCloseReason();
    outcome.peerVersion = decoder.GetPeerVersion();
    outcome.bHandshakeDone = decoder.IsHandshakeDone();
}

Outcome DecodeInChunks(const uint8_t* bytes, size_t size, VyChunkPlan& plan)
{
    VyMsgDecoder decoder;
    Outcome outcome;
    size_t fed = 0;
    while (fed < size)
    {
        const size_t chunk = plan.NextSize(size - fed);
        decoder.Feed(bytes + fed, chunk);
        fed += chunk;
        const VyMsgDecoder::Result result = DrainChecked(decoder, outcome);
        if (result == VyMsgDecoder::Result::CLOSE)
            VyFuzzCheck(decoder.GetPendingSize() == 0, "a closed decoder still holds bytes");
        else
            VyFuzzCheck(decoder.GetPendingSize() <= VY_MAX_UNFINISHED + chunk, "the buffer outgrew one message");
    }
    VyFuzzCheck(outcome.reason == VyCloseReason::NONE || decoder.Next() == VyMsgDecoder::Result::CLOSE,
                "CLOSE is not final");
    Finish(decoder, outcome);
    return outcome;
}

Outcome DecodeAtOnce(const uint8_t* bytes, size_t size)
{
    VyMsgDecoder decoder;
    Outcome outcome;
    decoder.Feed(bytes, size);
    DrainChecked(decoder, outcome);
    Finish(decoder, outcome);
    return outcome;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VyFuzzInput input(data, size);
    VyChunkPlan plan(input);
    const Outcome chunked = DecodeInChunks(input.Rest(), input.Left(), plan);
    VyFuzzCheck(chunked == DecodeAtOnce(input.Rest(), input.Left()), "the chunks changed what was decoded");
    return 0;
}
