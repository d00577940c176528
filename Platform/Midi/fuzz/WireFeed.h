// What the fuzz targets that play a peer on the virtual MIDI bus share: cutting a fuzz input into
// the pieces the peer sends, sending one, and the plain reading of the wire that tells which whole
// System Exclusive messages a receiver must deliver.
#pragma once

#include "Platform/Midi/MidiDriver.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace Platform::Fuzzing
{

using Bytes = std::vector<std::uint8_t>;

// Records of one length byte L, then the next min(L + 1, rest) bytes as one piece.
inline std::vector<Bytes> CutIntoPieces(const std::uint8_t* data, std::size_t size)
{
    std::vector<Bytes> pieces;
    std::size_t offset = 0;
    while (offset < size)
    {
        const std::size_t length = std::min<std::size_t>(data[offset] + 1u, size - offset - 1);
        ++offset;
        if (length > 0)
        {
            pieces.emplace_back(data + offset, data + offset + length);
        }
        offset += length;
    }
    return pieces;
}

// Sends piece as it stands; the virtual bus carries it before SendLong returns. The driver takes
// a writable buffer, so the piece is copied into one kept for the thread rather than a new one for
// every piece.
inline void SendPiece(MidiOutput& output, const Bytes& piece)
{
    thread_local Bytes writable;
    writable.assign(piece.begin(), piece.end());
    MidiBuffer buffer;
    buffer.data = writable.data();
    buffer.bufferLength = static_cast<std::uint32_t>(writable.size());
    if (QZ::Failed(output.PrepareBuffer(buffer)) || QZ::Failed(output.SendLong(buffer)) ||
        QZ::Failed(output.UnprepareBuffer(buffer)))
    {
        std::abort();
    }
}

// The whole System Exclusive messages of a byte stream, real-time bytes left out: F0, data bytes,
// F7, with no other status byte in between, and at most maxLength bytes.
inline std::vector<Bytes> GetWholeSysEx(const std::vector<Bytes>& pieces, std::size_t maxLength)
{
    std::vector<Bytes> messages;
    Bytes current;
    bool inside = false;
    for (const Bytes& piece : pieces)
    {
        for (const std::uint8_t byte : piece)
        {
            if (byte >= 0xF8)
            {
                continue;
            }
            if (byte == 0xF0)
            {
                inside = true;
                current.assign(1, byte);
                continue;
            }
            if (inside && byte < 0x80)
            {
                current.push_back(byte);
                continue;
            }
            if (inside && byte == 0xF7 && current.size() < maxLength)
            {
                current.push_back(byte);
                messages.push_back(current);
            }
            inside = false;
        }
    }
    return messages;
}

} // namespace Platform::Fuzzing
