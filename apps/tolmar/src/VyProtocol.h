#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "vyio/VyIO.h"

// The game's wire protocol between two copies over one TCP connection. Every value is encoded as
// VyIO encodes it: 4-byte little-endian ints and unsigned ints, strings as length prefix plus bytes.
//
// Each side first sends the handshake, once:
//
//   offset | width | field                     | value
//   -------+-------+---------------------------+-------------------------------
//        0 |     4 | protocol magic (unsigned) | 0x12563478   78 34 56 12
//        4 |     4 | protocol version (uns.)   | 0x00010001   01 00 01 00
//
// then any number of messages, each framed as
//
//   order | width | field                     | value
//   ------+-------+---------------------------+-------------------------------
//       1 |     4 | type code (int)           | 1 name, 2 move, 3 game, 4 chat
//       2 |     4 | m_version (unsigned)      | 1
//       3 |     4 | m_msgVersion (unsigned)   | 0
//       4 |     - | body                      | by type (VyNameMsg ... VyChatMsg)
//
// There is no length field: a message ends where its body ends. So a receiver passes over a type
// code it does not know by its four bytes alone and reads the next four as a type code again; it
// cannot skip a body it does not know.

constexpr unsigned int VY_PROTOCOL_MAGIC = 0x12563478;
constexpr unsigned int VY_PROTOCOL_VERSION = 0x00010001;
constexpr size_t VY_HANDSHAKE_SIZE = 8;

// Every message's m_version and m_msgVersion.
constexpr unsigned int VY_SOCKET_MSG_VERSION = 1;
constexpr unsigned int VY_SOCKET_MSG_BODY_VERSION = 0;

// The longest name or chat text a peer may send. The length prefix is read before the bytes, so a
// longer one closes the connection before anything is allocated for it. Lengths up to this limit
// fit the 1-, 3- and 7-byte prefix forms alike.
constexpr unsigned int VY_MAX_WIRE_STRING = 64 * 1024;

// The type codes of the four messages.
enum class VyMsgType
{
    NAME = 1, // VyNameMsg
    MOVE = 2, // VyMoveMsg
    GAME = 3, // VyGameMsg
    CHAT = 4, // VyChatMsg
};

// The type a received code names; nothing for a code this side does not know.
std::optional<VyMsgType> VyMsgTypeFromNumber(int number);

// Why a connection must end on what the peer sent.
enum class VyCloseReason
{
    NONE,              // nothing wrong (yet)
    FOREIGN_PEER,      // the first unsigned int is not the protocol magic: not another Tolmar game
    WRONG_VERSION,     // the magic is right, the protocol version is not exactly ours
    INCORRECT_VERSION, // a message's m_version is not 1 or its m_msgVersion not 0
    STRING_TOO_LONG,   // a name or chat text longer than VY_MAX_WIRE_STRING (a "negative" length too)
};

// The eight handshake bytes this side sends.
std::array<unsigned char, VY_HANDSHAKE_SIZE> VyEncodeHandshake();
// Writes the handshake to the stream (two unsigned ints); the stream's exceptions pass through.
void VyWriteHandshake(VyIO& stream);
