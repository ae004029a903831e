#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// The document archive: a flat little-endian byte stream bound to an open
// file, written or read field by field with no tags and no padding.
//
// Loading never trusts the file: a read past the end, or a length or count
// larger than the bytes that remain, marks the archive failed instead of
// allocating; a failed archive reads zeros and empty strings from then on,
// so a serialise routine can run to its end and the caller checks IsFailed()
// once. Storing remembers the first write error (errno) the same way.
class CArchive {
public:
    enum Mode { store, load };

    // file stays owned by the caller. For loading, length is the number of
    // bytes of the file from the current position to its end.
    CArchive(Mode mode, std::FILE* file, std::uint64_t length = 0);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }

    void WriteInt32(std::int32_t value);
    // The double is rounded to IEEE single precision (4 bytes).
    void WriteFloat32(double value);
    void WriteFloat64(double value);
    // Length prefix of 1, 3, 7 or 15 bytes, then the bytes of text.
    void WriteString(const std::string& text);
    void WriteByte(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteUInt64(std::uint64_t value);

    std::int32_t ReadInt32();
    // Widened exactly from single precision.
    double ReadFloat32();
    double ReadFloat64();
    // Accepts the narrow prefixes and the wide-string tag (0xff 0xfffe and
    // a second prefix, then UTF-16 units, returned as UTF-8).
    std::string ReadString();
    std::uint8_t ReadByte();
    std::uint16_t ReadUInt16();
    std::uint32_t ReadUInt32();
    std::uint64_t ReadUInt64();

    // Loading: true when count items of itemSize bytes each are still in
    // the file; otherwise the archive is marked failed.
    bool Expect(std::uint64_t count, std::uint64_t itemSize);
    std::uint64_t Remaining() const { return m_nLength - m_nPosition; }

    bool IsFailed() const { return m_bFailed; }
    // The read stopped because the file ended early or held an impossible
    // length or count, as opposed to an error of the file system.
    bool IsFormatError() const { return m_bFormatError; }
    // A serialise routine found a value no stored file can hold.
    void MarkFormatError()
    {
        m_bFailed = true;
        m_bFormatError = true;
    }
    // errno of the first failed read or write, 0 when none was reported.
    int GetErrno() const { return m_nErrno; }

private:
    bool ReadBytes(void* data, std::size_t size);
    void WriteBytes(const void* data, std::size_t size);
    std::uint64_t ReadStringLength(bool& wide);

    Mode m_mode;
    std::FILE* m_pFile;
    std::uint64_t m_nLength;
    std::uint64_t m_nPosition = 0;
    bool m_bFailed = false;
    bool m_bFormatError = false;
    int m_nErrno = 0;
};
