#pragma once

#include <QObject>
#include <QString>

// How the pages write numbers, as one object QML reads ("NumberFormat"): field values in
// engineering notation with their unit, so no page formats a number by itself.
class CNumberFormat : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // "53.2771 µT": `value` in `unit` with `digits` significant digits (CEngineeringNotation).
    Q_INVOKABLE QString field(double value, const QString& unit, int digits = 6) const;
    // A value of no unit with `digits` significant digits, without an exponent from 0.001 to
    // 10⁶ ("50.0000", "0.0123"), in engineering notation outside ("1.23×10⁻⁶").
    Q_INVOKABLE QString number(double value, int digits = 6) const;
    // `digits` significant digits and never an exponent ("0.000872"): for indices and ratios.
    Q_INVOKABLE QString fixed(double value, int digits = 3) const;
};
