#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

// The number texts of every file the program writes and reads: C's %g with six
// significant digits, "nan" for NaN whatever its sign bit, a point as decimal
// separator. Formatting and parsing never consult the process's locale, which Qt
// takes from the user's environment (a German desktop would otherwise write
// "0,5"), so files read the same on every machine.
class CNumberText
{
public:
    static QString G6(double value);
    static void AppendG6(QString& out, double value);
    // Writes the same text at `out`, which has room for MaxG6Length characters;
    // returns the end. No allocation: the file writers call it per number.
    static constexpr int MaxG6Length = 32;
    static char* WriteG6(char* out, double value);
    // The same text for a sample's single-precision value, several times faster: from
    // the float's shortest digits, which round to six digits as the exact value does
    // (the one ambiguous case, a seventh digit 5, takes the exact way).
    static char* WriteG6(char* out, float value);

    // Point-decimal number; surrounding white space and a leading "+" are
    // accepted. Text that is not a number gives 0 with *ok false.
    static double ToDouble(QStringView text, bool* ok = nullptr);
    static float ToFloat(QStringView text, bool* ok = nullptr);

    // A date and time in Qt's `format`, with Western digits whatever the locale (Qt's own
    // toString uses the system's: Arabic-Indic digits under ar_EG).
    static QString DateTime(const QDateTime& dateTime, const QString& format);
};
