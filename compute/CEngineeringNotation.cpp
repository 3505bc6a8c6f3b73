#include "compute/CEngineeringNotation.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
struct Prefix
{
    const char* text;
    int exponent;
};
constexpr std::array<Prefix, 10> Prefixes = {{{"f", -15},
                                              {"p", -12},
                                              {"n", -9},
                                              {"\u00b5", -6},
                                              {"m", -3},
                                              {"", 0},
                                              {"k", 3},
                                              {"M", 6},
                                              {"G", 9},
                                              {"T", 12}}};
// The units that take a prefix: the field's, and frequency.
constexpr std::array<const char*, 4> Bases = {"A/m", "T", "G", "Hz"};

// The unit's prefix and base; false when it is not a prefixed field unit.
bool split(const QString& unit, int& exponent, QString& base)
{
    for (const char* candidate : Bases)
    {
        if (!unit.endsWith(QLatin1String(candidate)))
            continue;
        const QString prefix = unit.left(unit.size() - int(qstrlen(candidate)));
        const auto own = std::find_if(Prefixes.begin(), Prefixes.end(),
                                      [&](const Prefix& p) { return prefix == QString::fromUtf8(p.text); });
        if (own == Prefixes.end())
            continue;
        exponent = own->exponent;
        base = QLatin1String(candidate);
        return true;
    }
    return false;
}

} // namespace

QString CEngineeringNotation::Fixed(double value, int digits)
{
    digits = std::clamp(digits, 1, 15);
    if (value == 0 || !std::isfinite(value))
        return std::isfinite(value) ? QString::number(0.0, 'f', digits - 1) : QStringLiteral("--");
    const int integer = int(std::floor(std::log10(std::fabs(value)))) + 1;
    int decimals = std::clamp(digits - integer, 0, 17);
    // Rounding may add a digit (999.9996 → 1000.000): one decimal fewer keeps the count.
    if (decimals > 0 && std::round(std::fabs(value) * std::pow(10.0, decimals)) >= std::pow(10.0, digits))
        --decimals;
    return QString::number(value, 'f', decimals);
}

QString CEngineeringNotation::PrefixedUnit(const QString& unit, int exponent)
{
    int own = 0;
    QString base;
    if (!split(unit, own, base))
        return QString();
    const auto shown = std::find_if(Prefixes.begin(), Prefixes.end(),
                                    [&](const Prefix& p) { return p.exponent == own + exponent; });
    return shown == Prefixes.end() ? QString() : QString::fromUtf8(shown->text) + base;
}

QString CEngineeringNotation::Format(double value, const QString& unit, int digits)
{
    if (!std::isfinite(value))
        return QStringLiteral("--");
    digits = std::clamp(digits, 1, 15);
    const QString space = unit.isEmpty() ? QString() : QStringLiteral(" ");
    int own = 0;
    QString base;
    const bool prefixed = split(unit, own, base) && own != 0;
    // Below a femto-unit a value is rounding noise of a computation (no probe resolves
    // it): it reads as zero, not as "-1.55×10⁻²¹".
    const double magnitude = std::pow(10.0, own) * std::fabs(value) < 1e-15 ? 0 : std::fabs(value);
    if (magnitude == 0)
        value = 0;
    // A prefix the user chose is kept while the value reads well in it.
    if (value == 0 || (prefixed && magnitude >= 1e-3 && magnitude < 1e4))
        return Fixed(value, digits) + space + unit;
    // A number of no unit reads plainly over the usual range.
    if (unit.isEmpty() && magnitude >= 1e-3 && magnitude < 1e6)
        return Fixed(value, digits);
    // The power of ten of the rounded value: 999.9996 µT is 1.00000 mT.
    int exponent = int(std::floor(std::log10(magnitude)));
    const double rounded =
        std::round(magnitude / std::pow(10.0, exponent - digits + 1)) * std::pow(10.0, exponent - digits + 1);
    exponent = int(std::floor(std::log10(rounded) + 1e-12));
    const int engineering = 3 * int(std::floor(exponent / 3.0));
    const double mantissa = value / std::pow(10.0, engineering);
    if (engineering == 0)
        return Fixed(mantissa, digits) + space + unit;
    const QString renamed = PrefixedUnit(unit, engineering);
    if (!renamed.isEmpty())
        return Fixed(mantissa, digits) + QStringLiteral(" ") + renamed;
    return Fixed(mantissa, digits) + QStringLiteral("\u00d7") + PowerOfTen(engineering) + space + unit;
}

QString CEngineeringNotation::PowerOfTen(int exponent)
{
    static const QString superscripts =
        QStringLiteral("\u2070\u00b9\u00b2\u00b3\u2074\u2075\u2076\u2077\u2078\u2079");
    QString power = QStringLiteral("10");
    if (exponent < 0)
        power += QChar(0x207b); // superscript minus
    const auto digits = QString::number(std::abs(exponent));
    for (const QChar digit : digits)
        power += superscripts.at(digit.digitValue());
    return power;
}
