#include "model/CNumberText.h"

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
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
    // std::to_chars with a precision is exactly printf's %g, but in the C locale always.
    return std::to_chars(out, out + MaxG6Length, value, std::chars_format::general, 6).ptr;
}

double CNumberText::ToDouble(QStringView text, bool* ok)
{
    return parse<double>(text, ok);
}

float CNumberText::ToFloat(QStringView text, bool* ok)
{
    return parse<float>(text, ok);
}
