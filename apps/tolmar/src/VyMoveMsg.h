#pragma once

#include "VyGameTypes.h"
#include "VySocketMsg.h"

// Type 2: a half-move of the sender. m_piece indexes the set's piece list, m_square the board's
// squares, as the rules number them; m_square is -1 (NO_SQUARE) when the sender chose m_piece for
// this side to place, otherwise the sender placed m_piece there.
//
//   02 00 00 00 | 01 00 00 00 | 00 00 00 00 | m_piece (int) | m_square (int)
//   e.g. piece 5 on square 10: ... | 05 00 00 00 | 0A 00 00 00;  piece 5 chosen: ... | 05 00 00 00 | FF FF FF FF
//
// The numbers are the peer's: whether such a piece or square exists, and whether the move is due,
// is for the receiver's rules to check.
//
// Failures are VySocketMsg's: a stream error while sending throws; on receipt a wrong version or bytes
// that end early show in the reader's status.
class VyMoveMsg : public VySocketMsg
{
public:
    VyMoveMsg() : VySocketMsg(VyMsgType::MOVE) {}
    VyMoveMsg(int piece, int square) : VySocketMsg(VyMsgType::MOVE), m_piece(piece), m_square(square) {}
    static VyMoveMsg Choice(int piece) { return VyMoveMsg(piece, NO_SQUARE); }
    static VyMoveMsg Placement(int piece, int square) { return VyMoveMsg(piece, square); }

    int GetPiece() const { return m_piece; }
    int GetSquare() const { return m_square; }
    // The sender chose the piece (no square) rather than placed it.
    bool IsChoice() const { return m_square == NO_SQUARE; }
    unsigned int GetMsgVersion() const override { return m_msgVersion; }

    void SendMsg(VyIO& stream) const override;
    void ReceiveMsg(VyWireReader& reader) override;

private:
    unsigned int m_msgVersion = VY_SOCKET_MSG_BODY_VERSION;
    int m_piece = INVALID_PIECE;
    int m_square = NO_SQUARE;
};
