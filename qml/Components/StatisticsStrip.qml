import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// Of each series shown, over the samples of the window: min, max, mean, RMS, σ and
// peak-to-peak, in the series' colour.
GridLayout {
    id: strip

    property var statistics: []
    property var names: []
    property string unit

    objectName: "statisticsStrip"
    columns: 7
    columnSpacing: Theme.spacing
    rowSpacing: 0

    Repeater {
        model: ["", qsTr("Min"), qsTr("Max"), qsTr("Mean"), qsTr("RMS"), "\u03c3", qsTr("Peak-to-peak")]

        Label {
            Layout.preferredWidth: index === 0 ? Theme.nameColumnWidth : Theme.valueColumnWidth
            horizontalAlignment: index === 0 ? Text.AlignLeft : Text.AlignRight
            text: modelData
            font.bold: true
        }
    }
    Repeater {
        // Seven cells a series: its name, then the six figures.
        model: strip.statistics.length * 7

        Label {
            readonly property var row: strip.statistics[Math.floor(index / 7)]
            readonly property int column: index % 7
            readonly property var keys: ["", "min", "max", "mean", "rms", "sigma", "pp"]

            Layout.preferredWidth: column === 0 ? Theme.nameColumnWidth : Theme.valueColumnWidth
            horizontalAlignment: column === 0 ? Text.AlignLeft : Text.AlignRight
            text: column === 0 ? strip.names[row.index] : NumberFormat.field(row[keys[column]], strip.unit, 5)
            color: column === 0 ? Theme.seriesColors[row.index] : Theme.textColor
            font.family: column === 0 ? Theme.letterFontFamily : Theme.numberFontFamily
        }
    }
}
