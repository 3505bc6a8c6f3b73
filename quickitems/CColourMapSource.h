#pragma once

#include <QColor>
#include <QImage>
#include <QVector>
#include <QtPlugin>

#include <array>
#include <vector>

// What CColourMapItem draws: a plane of values over two axes, rendered at the item's
// size, and the measured points on it. The page's colour map model implements it (and
// emits a changed() signal), so the item knows nothing of the view models above it.
class CColourMapSource
{
public:
    virtual ~CColourMapSource() = default;
    virtual bool Planar() const = 0;
    virtual double UMin() const = 0;
    virtual double UMax() const = 0;
    virtual double VMin() const = 0;
    virtual double VMax() const = 0;
    // The measured points in plane coordinates (u, v).
    virtual std::vector<std::array<double, 2>> Nodes() const = 0;
    // The plane as an image of `width` × `height`, coloured along `stops`.
    virtual QImage Render(int width, int height, const QVector<QColor>& stops) const = 0;
};

Q_DECLARE_INTERFACE(CColourMapSource, "org.tesvana.ColourMapSource/1.0")
