#include "document/CArchive.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xc0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xe0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    }
}

// Unpaired surrogates have no narrow form; they become '?'.
std::string Utf16ToNarrow(const std::vector<std::uint16_t>& units)
{
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        std::uint32_t u = units[i];
        if (u >= 0xd800 && u < 0xdc00 && i + 1 < units.size() && units[i + 1] >= 0xdc00 &&
            units[i + 1] < 0xe000) {
            AppendUtf8(out, 0x10000 + ((u - 0xd800) << 10) + (units[i + 1] - 0xdc00));
            ++i;
        } else if (u >= 0xd800 && u < 0xe000) {
            out += '?';
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

}  // namespace

CArchive::CArchive(Mode mode, std::FILE* file, std::uint64_t length)
    : m_mode(mode), m_pFile(file), m_nLength(mode == load ? length : 0)
{
}

bool CArchive::ReadBytes(void* data, std::size_t size)
{
    if (m_bFailed || !Expect(size, 1)) {
        std::memset(data, 0, size);
        return false;
    }
    errno = 0;
    size_t got = size ? std::fread(data, 1, size, m_pFile) : 0;
    if (got != size) {
        std::memset(data, 0, size);
        m_bFailed = true;
        if (std::ferror(m_pFile))
            m_nErrno = errno;
        else
            m_bFormatError = true;
        return false;
    }
    m_nPosition += size;
    return true;
}

void CArchive::WriteBytes(const void* data, std::size_t size)
{
    if (m_bFailed || size == 0)
        return;
    errno = 0;
    if (std::fwrite(data, 1, size, m_pFile) != size) {
        m_bFailed = true;
        m_nErrno = errno;
    }
}

bool CArchive::Expect(std::uint64_t count, std::uint64_t itemSize)
{
    if (m_bFailed)
        return false;
    if (itemSize != 0 && count > Remaining() / itemSize) {
        MarkFormatError();
        return false;
    }
    return true;
}

void CArchive::WriteByte(std::uint8_t value)
{
    WriteBytes(&value, 1);
}

void CArchive::WriteUInt16(std::uint16_t value)
{
    unsigned char b[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
    WriteBytes(b, sizeof b);
}

void CArchive::WriteUInt32(std::uint32_t value)
{
    unsigned char b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<unsigned char>(value >> (8 * i));
    WriteBytes(b, sizeof b);
}

void CArchive::WriteUInt64(std::uint64_t value)
{
    unsigned char b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<unsigned char>(value >> (8 * i));
    WriteBytes(b, sizeof b);
}

void CArchive::WriteInt32(std::int32_t value)
{
    WriteUInt32(static_cast<std::uint32_t>(value));
}

void CArchive::WriteFloat32(double value)
{
    float f = static_cast<float>(value);
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    WriteUInt32(bits);
}

void CArchive::WriteFloat64(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteUInt64(bits);
}

void CArchive::WriteString(const std::string& text)
{
    std::uint64_t n = text.size();
    if (n < 0xff) {
        WriteByte(static_cast<std::uint8_t>(n));
    } else {
        WriteByte(0xff);
        if (n < 0xfffe) {
            WriteUInt16(static_cast<std::uint16_t>(n));
        } else {
            WriteUInt16(0xffff);
            if (n < 0xffffffffu) {
                WriteUInt32(static_cast<std::uint32_t>(n));
            } else {
                WriteUInt32(0xffffffffu);
                WriteUInt64(n);
            }
        }
    }
    WriteBytes(text.data(), text.size());
}

std::uint8_t CArchive::ReadByte()
{
    unsigned char b = 0;
    ReadBytes(&b, 1);
    return b;
}

std::uint16_t CArchive::ReadUInt16()
{
    unsigned char b[2];
    ReadBytes(b, sizeof b);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t CArchive::ReadUInt32()
{
    unsigned char b[4];
    ReadBytes(b, sizeof b);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | b[i];
    return v;
}

std::uint64_t CArchive::ReadUInt64()
{
    unsigned char b[8];
    ReadBytes(b, sizeof b);
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | b[i];
    return v;
}

std::int32_t CArchive::ReadInt32()
{
    return static_cast<std::int32_t>(ReadUInt32());
}

double CArchive::ReadFloat32()
{
    std::uint32_t bits = ReadUInt32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

double CArchive::ReadFloat64()
{
    std::uint64_t bits = ReadUInt64();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::uint64_t CArchive::ReadStringLength(bool& wide)
{
    wide = false;
    std::uint8_t b = ReadByte();
    if (b < 0xff)
        return b;
    std::uint16_t w = ReadUInt16();
    if (w == 0xfffe) {
        // The wide tag; the real length follows in the same scheme.
        wide = true;
        b = ReadByte();
        if (b < 0xff)
            return b;
        w = ReadUInt16();
    }
    if (w < 0xffff)
        return w;
    std::uint32_t d = ReadUInt32();
    if (d < 0xffffffffu)
        return d;
    return ReadUInt64();
}

std::string CArchive::ReadString()
{
    bool wide = false;
    std::uint64_t n = ReadStringLength(wide);
    if (!Expect(n, wide ? 2 : 1))
        return std::string();
    if (!wide) {
        std::string text(static_cast<size_t>(n), '\0');
        if (!ReadBytes(text.data(), text.size()))
            return std::string();
        return text;
    }
    std::vector<std::uint16_t> units(static_cast<size_t>(n));
    for (auto& u : units)
        u = ReadUInt16();
    return m_bFailed ? std::string() : Utf16ToNarrow(units);
}
