#include "app/CStyle.h"

#include <QCoreApplication>

void CStyle::SetCustomStyle()
{
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
}
