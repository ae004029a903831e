#include "document/InputFile.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cstdio>
#include <string>

#include "platform/CWnd.h"
#include "platform/DataExchange.h"
#include "platform/FileHandle.h"
#include "dsp/CPoints.h"
#include "document/DocumentMessages.h"
#include "document/RegularFile.h"
#include "platform/TextFormat.h"

namespace {

// Room for the pieces the reader takes: 63 characters and the terminator.
constexpr int kPieceSize = 64;
constexpr int kScratchPoints = 1025;

bool IsDelimiter(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Decimal order of magnitude of the number in [begin, end): the power of
// ten of its first non-zero digit. Only used for numbers out of range, so
// there is such a digit.
long DecimalOrder(const char* begin, const char* end)
{
    long order = 0;
    long integerDigits = 0;
    const char* p = begin;
    while (p < end && std::isdigit(static_cast<unsigned char>(*p))) {
        ++integerDigits;
        ++p;
    }
    const char* first = begin;
    while (first < begin + integerDigits && *first == '0')
        ++first;
    if (first < begin + integerDigits) {
        order = static_cast<long>((begin + integerDigits) - first) - 1;
    } else if (p < end && *p == '.') {
        ++p;
        long zeros = 0;
        while (p < end && *p == '0') {
            ++zeros;
            ++p;
        }
        order = -(zeros + 1);
    }
    while (p < end && *p != 'e' && *p != 'E')
        ++p;
    if (p < end) {
        ++p;
        const bool negative = *p == '-';
        if (*p == '+' || *p == '-')
            ++p;
        long exponent = 0;
        while (p < end && std::isdigit(static_cast<unsigned char>(*p)) && exponent < 100000000L) {
            exponent = exponent * 10 + (*p - '0');
            ++p;
        }
        order += negative ? -exponent : exponent;
    }
    return order;
}

}  // namespace

double LeadingDecimal(const char* text)
{
    const char* p = text;
    while (*p && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const char* start = p;
    int digits = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        ++p;
        ++digits;
    }
    if (*p == '.') {
        ++p;
        while (std::isdigit(static_cast<unsigned char>(*p))) {
            ++p;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-')
            ++q;
        if (std::isdigit(static_cast<unsigned char>(*q))) {
            while (std::isdigit(static_cast<unsigned char>(*q)))
                ++q;
            p = q;
        }
    }
    double value = 0.0;
    const std::from_chars_result res = std::from_chars(start, p, value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range)
        value = DecimalOrder(start, p) > 0 ? DBL_MAX : 0.0;
    return negative ? -value : value;
}

int ReadInputFile(const std::string& path, CPoints& destination, CWnd& msgOwner)
{
    CPoints points(kScratchPoints);
    // Only a regular file is read: its size bounds the reading, where a
    // device such as /dev/zero or a FIFO would never end or never start.
    std::uint64_t size = 0;
    const FileHandle file(OpenRegularFile(path, size));
    if (!file) {
        msgOwner.MessageBox(FormatText(kMsgCannotOpenFile, path));
        return 0;
    }

    char piece[kPieceSize];
    int count = 0;
    while (std::fgets(piece, kPieceSize, file.get())) {
        const char* token = piece;
        while (*token && IsDelimiter(*token))
            ++token;
        if (!*token)
            continue;
        const char* end = token;
        while (*end && !IsDelimiter(*end))
            ++end;
        points[count] = Complex(LeadingDecimal(std::string(token, static_cast<size_t>(end - token)).c_str()), 0.0);
        ++count;
        if (count > kMaxInputPoints) {
            msgOwner.MessageBox(FormatText(kMsgTooManyPoints, kMaxInputPoints));
            return 0;
        }
    }
    if (std::ferror(file.get())) {
        msgOwner.MessageBox(FormatText(kMsgCannotReadFile, path));
        return 0;
    }
    // A file without a single token would leave no points; the ones held stay.
    if (count == 0) {
        msgOwner.MessageBox(FormatText(kMsgNoPointsInFile, path));
        return 0;
    }
    points.SetSize(count);
    destination.Copy(points);
    return count;
}
