#pragma once

#include <QString>

class QQuickItem;

// A chart as an image for a report, drawn again from the chart's own series, axes and
// colours (never a screenshot): PNG at 1, 2 or 4 times the chart's size on screen, or
// SVG. Both carry a title, what the data came from and the time they span, the axes with
// round ticks and their units, and a legend of the series shown. The file is written
// whole or not at all.
class CChartImageExporter
{
public:
    // What the image says above the chart.
    struct Caption
    {
        QString title;  // the page and the quantity ("Meter", "Spectrum of B")
        QString source; // the file or the instrument the data came from
        QString span;   // the time the data span; on a time axis, from the axis when empty
    };

    // By the suffix of `path` (".svg", otherwise PNG at `scale`); false with the reason.
    static bool Export(QQuickItem* chart, const QString& path, int scale, const Caption& caption,
                       QString* error);
};
