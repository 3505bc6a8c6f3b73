#include "model/CNumberText.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstring>

namespace
{
// ASCII copy of a number text without surrounding white space or a leading "+";
// false when it is longer than the buffer or not ASCII.
bool asciiNumber(QStringView text, char* buffer, int capacity, int& length)
{
    text = text.trimmed();
    if (!text.isEmpty() && text.front() == QLatin1Char('+'))
        text = text.mid(1);
    if (text.size() >= capacity)
        return false;
    for (int i = 0; i < text.size(); ++i)
    {
        const ushort c = text.at(i).unicode();
        if (c > 127)
            return false;
        buffer[i] = char(c);
    }
    length = int(text.size());
    return true;
}

template <typename Number> Number parse(QStringView text, bool* ok)
{
    char buffer[64];
    int length = 0;
    Number value = 0;
    bool parsed = false;
    if (asciiNumber(text, buffer, int(sizeof buffer), length) && length > 0)
    {
        const auto [end, error] = std::from_chars(buffer, buffer + length, value);
        parsed = error == std::errc() && end == buffer + length;
        if (!parsed)
            value = 0;
    }
    if (ok)
        *ok = parsed;
    return value;
}
} // namespace

QString CNumberText::G6(double value)
{
    QString out;
    AppendG6(out, value);
    return out;
}

void CNumberText::AppendG6(QString& out, double value)
{
    char buffer[MaxG6Length];
    out += QLatin1String(buffer, int(WriteG6(buffer, value) - buffer));
}

char* CNumberText::WriteG6(char* out, double value)
{
    if (std::isnan(value))
    {
        std::memcpy(out, "nan", 3); // NOLINT(bugprone-not-null-terminated-result): text with its end returned
        return out + 3;
    }
    // std::to_chars with a precision is exactly printf's %g, but in the C locale always.
    return std::to_chars(out, out + MaxG6Length, value, std::chars_format::general, 6).ptr;
}

char* CNumberText::WriteG6(char* out, float value)
{
    // Below the normal range a float has fewer than six digits of its own: the exact way.
    if (!std::isnormal(value))
        return WriteG6(out, double(value));
    // Shortest scientific form: [-]d[.ddd]e[+-]XX, at most nine digits.
    char shortest[24];
    const char* end =
        std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::scientific).ptr;
    const char* p = shortest;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[12];
    int count = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.')
            digits[count++] = *p;
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);

    if (count > 6)
    {
        // A seventh digit 5 closing the digits may be a tie of the decimal text only,
        // not of the exact value: that one case goes the exact way.
        if (count == 7 && digits[6] == '5')
            return WriteG6(out, double(value));
        const bool up = digits[6] >= '5';
        count = 6;
        if (up)
        {
            int i = 5;
            while (i >= 0 && digits[i] == '9')
                digits[i--] = '0';
            if (i >= 0)
                ++digits[i];
            else
            {
                digits[0] = '1';
                ++exponent;
            }
        }
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;

    if (negative)
        *out++ = '-';
    if (exponent < -4 || exponent >= 6)
    {
        *out++ = digits[0];
        if (count > 1)
        {
            *out++ = '.';
            for (int i = 1; i < count; ++i)
                *out++ = digits[i];
        }
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        *out++ = char('0' + magnitude / 10);
        *out++ = char('0' + magnitude % 10);
        return out;
    }
    if (exponent < 0)
    {
        *out++ = '0';
        *out++ = '.';
        for (int i = -1; i > exponent; --i)
            *out++ = '0';
        for (int i = 0; i < count; ++i)
            *out++ = digits[i];
        return out;
    }
    for (int i = 0; i <= exponent; ++i)
        *out++ = i < count ? digits[i] : '0';
    if (count > exponent + 1)
    {
        *out++ = '.';
        for (int i = exponent + 1; i < count; ++i)
            *out++ = digits[i];
    }
    return out;
}

double CNumberText::ToDouble(QStringView text, bool* ok)
{
    return parse<double>(text, ok);
}

float CNumberText::ToFloat(QStringView text, bool* ok)
{
    return parse<float>(text, ok);
}

QString CNumberText::DateTime(const QDateTime& dateTime, const QString& format)
{
    return QLocale::c().toString(dateTime, format);
}
