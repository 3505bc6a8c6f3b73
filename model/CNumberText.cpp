#include "model/CNumberText.h"

#include <cmath>
#include <cstdio>

QString CNumberText::G6(double value)
{
    QString out;
    AppendG6(out, value);
    return out;
}

void CNumberText::AppendG6(QString& out, double value)
{
    if (std::isnan(value))
    {
        out += QLatin1String("nan");
        return;
    }
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%g", value);
    out += QLatin1String(buffer, n);
}
