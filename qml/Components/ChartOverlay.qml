import QtQuick 2.15
import "../Theme"

// What a chart shows over its series while it is being handled: the box of a zoom and
// the cursors.
Item {
    id: overlay

    property Item chart

    anchors.fill: parent

    Rectangle {
        objectName: "zoomBox"
        visible: overlay.chart.selection.width > 0
        x: overlay.chart.selection.x
        y: overlay.chart.selection.y
        width: overlay.chart.selection.width
        height: overlay.chart.selection.height
        color: Theme.selectionFillColor
        border.color: Theme.selectionColor
    }
    Repeater {
        model: overlay.chart.cursorPositions

        Rectangle {
            objectName: "cursor" + index
            x: modelData
            y: overlay.chart.plotArea.y
            width: Theme.cursorLineWidth
            height: overlay.chart.plotArea.height
            color: Theme.cursorColor
        }
    }
}
