#pragma once

#include <QString>

// Number texts of the files: C's %g with six significant digits, "nan" for NaN
// whatever its sign bit, so that files are identical on every platform.
class CNumberText
{
public:
    static QString G6(double value);
    static void AppendG6(QString& out, double value);
};
