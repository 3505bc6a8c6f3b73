#pragma once

#include <QString>

// Field values as a reader takes them in at a glance: "53.2771 µT" rather than
// "5.32771e-05", a fixed number of significant digits so that the digits stand still
// as values change. Display only: files keep their own number format.
class CEngineeringNotation
{
public:
    // `value` in `unit`, with `digits` significant digits. In a unit without a prefix (T,
    // G, A/m, Hz) the mantissa runs from 1 to 999.99… and its power of ten becomes the unit's
    // prefix; a unit the user chose with a prefix (mT, µT, kA/m) is kept while the value is
    // from 0.001 to 9999 of it. A unit that takes no prefix keeps the power as "×10ⁿ".
    // No unit: plain digits from 0.001 to 10⁶. Below 10⁻¹⁵ of the unit without its
    // prefix: zero. Not a number: "--".
    static QString Format(double value, const QString& unit, int digits = 6);

    // `value` with `digits` significant digits and no exponent: "53.2771", "0.00532771".
    static QString Fixed(double value, int digits);

    // The unit with its prefix moved by `exponent` (a multiple of 3): "T", -6 → "µT",
    // "mA/m", -3 → "µA/m"; empty when the unit takes no prefix or runs out of them.
    static QString PrefixedUnit(const QString& unit, int exponent);

    // 10 and the exponent in superscript digits ("10⁻⁶").
    static QString PowerOfTen(int exponent);
};
