#pragma once
// Test helpers: a reader over bytes in memory that hands them out in scripted pieces, and a writer
// that records what it is given. Used by the tests and the fuzz targets of the stream classes.

#include "network/c_StreamReader.h"
#include "network/c_StreamWriter.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Hands out its bytes in pieces whose sizes follow the script, round and round; a piece of 0 is a
// read that finds nothing yet although the stream is not over. Without a script, every read gets as
// much as it asks.
class c_ScriptedReader : public c_StreamReader {
public:
    explicit c_ScriptedReader(std::vector<std::uint8_t> bytes, std::vector<std::uint32_t> pieces = {})
        : m_Bytes(std::move(bytes)), m_Pieces(std::move(pieces)) {}
    explicit c_ScriptedReader(const std::string& bytes, std::vector<std::uint32_t> pieces = {})
        : c_ScriptedReader(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), std::move(pieces)) {}

    s_ByteSpan Read(std::uint64_t n) override {
        ++m_ReadCount;
        std::uint64_t k = std::min<std::uint64_t>(n, m_Bytes.size() - m_Position);
        if (!m_Pieces.empty()) {
            k = std::min<std::uint64_t>(k, m_Pieces[m_NextPiece++ % m_Pieces.size()]);
        }
        const s_ByteSpan span = s_ByteSpan::FromPointer(m_Bytes.data() + m_Position, k);
        m_Position += k;
        return span;
    }
    bool IsAtEnd() const override { return m_Position == m_Bytes.size(); }

    int GetReadCount() const { return m_ReadCount; }
    std::size_t GetPosition() const { return m_Position; }

private:
    std::vector<std::uint8_t> m_Bytes;
    std::vector<std::uint32_t> m_Pieces;
    std::size_t m_Position = 0;
    std::size_t m_NextPiece = 0;
    int m_ReadCount = 0;
};

class c_RecordingWriter : public c_StreamWriter {
public:
    void Write(s_ByteSpan data) override {
        ++m_WriteCount;
        m_Bytes.insert(m_Bytes.end(), data.GetBytes(), data.GetBytes() + data.m_Size);
    }

    const std::vector<std::uint8_t>& GetBytes() const { return m_Bytes; }
    int GetWriteCount() const { return m_WriteCount; }

private:
    std::vector<std::uint8_t> m_Bytes;
    int m_WriteCount = 0;
};
