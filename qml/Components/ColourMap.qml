import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// A planar map's chosen quantity as colours over the grid's plane, each measured
// point a cell and a dot, with the colour scale in the display unit.
ColumnLayout {
    id: section

    property CColourMap map
    property string unit

    RowLayout {
        Label { text: qsTr("Quantity") }
        ComboBox {
            objectName: "colourMapQuantityBox"
            Accessible.name: qsTr("Colour map quantity")
            model: section.map.QuantityNames
            currentIndex: section.map.QuantityIndex
            onActivated: section.map.QuantityIndex = index
        }
    }

    Label {
        objectName: "colourMapNotice"
        visible: !section.map.Planar
        text: qsTr("The colour map shows a planar grid: one axis with a single value (a start equal to its stop).")
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }

    RowLayout {
        Layout.fillWidth: true
        Layout.fillHeight: true
        visible: section.map.Planar

        Canvas {
            id: canvas

            objectName: "colourMap"
            Accessible.name: qsTr("Colour map")
            Layout.fillWidth: true
            Layout.fillHeight: true

            // Low to high, through the theme's stops.
            function colourOf(fraction) {
                var stops = Theme.colourMapStops
                var f = Math.max(0, Math.min(1, isNaN(fraction) ? 0 : fraction)) * (stops.length - 1)
                var i = Math.min(Math.floor(f), stops.length - 2)
                var next = Qt.lighter(stops[i + 1], 1.0)
                return Qt.tint(stops[i], Qt.rgba(next.r, next.g, next.b, f - i))
            }

            onPaint: {
                var ctx = getContext("2d")
                ctx.reset()
                var m = section.map
                var margin = Theme.largeSpacing * 2
                var du = (m.UMax - m.UMin) + m.CellWidth
                var dv = (m.VMax - m.VMin) + m.CellHeight
                var scale = Math.min((width - 2 * margin) / du, (height - 2 * margin) / dv)
                var x0 = margin, y0 = height - margin
                var range = m.ValueMax - m.ValueMin
                ctx.font = Theme.valueFontPixelSize / 2 + "px sans-serif"
                ctx.fillStyle = Theme.secondaryTextColor
                ctx.fillText(m.UName + " [mm] " + m.UMin.toPrecision(4) + " \u2192 " + m.UMax.toPrecision(4), x0, height - Theme.spacing)
                ctx.fillText(m.VName + " [mm] " + m.VMin.toPrecision(4) + " \u2192 " + m.VMax.toPrecision(4), x0, Theme.largeSpacing)
                for (var i = 0; i < m.Cells.length; ++i) {
                    var c = m.Cells[i]
                    var x = x0 + (c.u - m.UMin) * scale
                    var y = y0 - (c.v - m.VMin + m.CellHeight) * scale
                    ctx.fillStyle = colourOf(range > 0 ? (c.value - m.ValueMin) / range : 0.5)
                    ctx.fillRect(x, y, m.CellWidth * scale + 1, m.CellHeight * scale + 1)
                    ctx.fillStyle = Theme.textColor
                    ctx.beginPath()
                    ctx.arc(x + m.CellWidth * scale / 2, y + m.CellHeight * scale / 2, 2, 0, 2 * Math.PI)
                    ctx.fill()
                }
            }

            Connections {
                target: section.map
                function onChanged() { canvas.requestPaint() }
            }
            onWidthChanged: requestPaint()
            onHeightChanged: requestPaint()
        }

        // The colour scale, high at the top.
        ColumnLayout {
            Layout.fillHeight: true

            Label {
                objectName: "colourScaleMaximum"
                text: section.map.ValueMax.toPrecision(4) + " " + section.unit
                font.family: Theme.numberFontFamily
            }
            Rectangle {
                Layout.preferredWidth: Theme.colourScaleWidth
                Layout.fillHeight: true
                gradient: Gradient {
                    GradientStop { position: 0.0; color: Theme.colourMapStops[9] }
                    GradientStop { position: 0.25; color: Theme.colourMapStops[7] }
                    GradientStop { position: 0.5; color: Theme.colourMapStops[4] }
                    GradientStop { position: 0.75; color: Theme.colourMapStops[2] }
                    GradientStop { position: 1.0; color: Theme.colourMapStops[0] }
                }
            }
            Label {
                text: section.map.ValueMin.toPrecision(4) + " " + section.unit
                font.family: Theme.numberFontFamily
            }
        }
    }
}
