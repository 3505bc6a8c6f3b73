#pragma once

#include <QString>

class QQuickItem;

// A chart as an image for a report: PNG is the chart's pixels as shown; SVG is
// drawn again from the chart's own series, axes and colours, so it scales. The
// file is written whole or not at all.
class CChartImageExporter
{
public:
    // By the suffix of `path` (".svg", otherwise PNG); false with the reason.
    static bool Export(QQuickItem* chart, const QString& path, QString* error);

private:
    static bool l_WritePng(QQuickItem* chart, const QString& path, QString* error);
    static bool l_WriteSvg(QQuickItem* chart, const QString& path, QString* error);
};
