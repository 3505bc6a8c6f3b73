import QtQuick 2.15
import Tesvana.ViewModels 1.0
import "../Theme"

// A line chart on its card: the plot (series, grid and frame drawn by LinePlot), its
// tick labels where the plot puts them, and the axes' titles. Give it xAxis and yAxis
// (ValueAxis or LogValueAxis) and add its series with addLineSeries.
LinePlot {
    id: chart

    font.family: Theme.letterFontFamily
    font.pixelSize: Theme.chartLabelPixelSize
    gridColor: Theme.chartGridColor
    frameColor: Theme.chartFrameColor
    lineWidth: Theme.chartLineWidth

    // Opaque and without antialiasing: drawn once per frame at the cost of a flat fill.
    Rectangle {
        z: -1
        anchors.fill: parent
        antialiasing: false
        radius: Theme.cornerRadius
        color: Theme.chartBackgroundColor
    }

    // A fixed set of labels bound to the plot's lists: nothing is created as the axes move.
    Repeater {
        model: chart.maximumLabels

        Text {
            readonly property var label: chart.yLabels[index]

            visible: label !== undefined
            text: visible ? label.text : ""
            x: visible ? label.x - width : 0
            y: visible ? label.y - height / 2 : 0
            font: chart.font
            color: Theme.textColor
        }
    }
    Repeater {
        model: chart.maximumLabels

        Text {
            readonly property var label: chart.xLabels[index]

            visible: label !== undefined
            text: visible ? label.text : ""
            x: visible ? label.x - width / 2 : 0
            y: visible ? label.y : 0
            font: chart.font
            color: Theme.textColor
        }
    }
    Text {
        objectName: "xAxisTitle"
        text: chart.xTitle
        x: chart.plotArea.x + (chart.plotArea.width - width) / 2
        y: chart.height - height - Theme.smallSpacing
        font.family: chart.font.family
        font.pixelSize: chart.font.pixelSize
        font.bold: true
        color: Theme.textColor
    }
    Text {
        objectName: "yAxisTitle"
        text: chart.yTitle
        // Turned a quarter about its centre, which lies half a line from the left edge.
        rotation: -90
        x: Theme.smallSpacing + height / 2 - width / 2
        y: chart.plotArea.y + (chart.plotArea.height - height) / 2
        font.family: chart.font.family
        font.pixelSize: chart.font.pixelSize
        font.bold: true
        color: Theme.textColor
    }
}
