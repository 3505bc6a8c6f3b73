import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The samples of the newest block, timestamps to the nanosecond.
ColumnLayout {
    id: table

    property CMeasureBlockData model
    property string unit
    property string uncertaintyUnit

    RowLayout {
        Repeater {
            model: [qsTr("Timestamp"), "B [" + table.unit + "]", "\u03b5(B) [" + table.uncertaintyUnit + "]",
                "Bx", "By", "Bz", qsTr("T")]
            delegate: Label {
                Layout.preferredWidth: index === 0 ? Theme.timestampColumnWidth : Theme.valueColumnWidth
                text: modelData
                font.bold: true
            }
        }
    }

    ListView {
        objectName: "sampleTable"
        Layout.fillWidth: true
        Layout.fillHeight: true
        clip: true
        model: table.model
        ScrollBar.vertical: ScrollBar {}

        delegate: RowLayout {
            Repeater {
                model: [Timestamp, B.toPrecision(6), isNaN(dB) ? "--" : dB.toPrecision(3), Bx.toPrecision(6),
                    By.toPrecision(6), Bz.toPrecision(6), T]
                delegate: Label {
                    Layout.preferredWidth: index === 0 ? Theme.timestampColumnWidth : Theme.valueColumnWidth
                    text: modelData
                    font.family: Theme.numberFontFamily
                }
            }
        }
    }
}
