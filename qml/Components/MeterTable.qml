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
    // The mapping page's rows also carry the point's position.
    property bool positions: false
    // The page, for "Copy" and "Export CSV…".
    property CMeasurementOperationViewModel pageViewModel

    TableTools {
        visible: table.pageViewModel !== null
        viewModel: table.pageViewModel
        model: table.model
        roles: ["Timestamp", "B", "dB", "Bx", "By", "Bz", "T"].concat(table.positions ? ["X", "Y", "Z"] : [])
        headings: [qsTr("Timestamp"), "B [" + table.unit + "]", "\u03b5(B) [" + table.uncertaintyUnit + "]",
            "Bx [" + table.unit + "]", "By [" + table.unit + "]", "Bz [" + table.unit + "]", qsTr("T")]
            .concat(table.positions ? ["X [mm]", "Y [mm]", "Z [mm]"] : [])
    }

    ListView {
        objectName: "sampleTable"
        Layout.fillWidth: true
        Layout.fillHeight: true
        clip: true
        // Rows are made at once, never ahead in the background: the model is replaced
        // with every block, which would cancel rows still being made.
        cacheBuffer: 0
        model: table.model
        ScrollBar.vertical: ScrollBar {}
        // More columns than a narrow window holds (the map's positions): they scroll sideways, the
        // headings with them, and stay on top when the rows scroll.
        contentWidth: headerItem ? headerItem.implicitWidth : width
        flickableDirection: Flickable.AutoFlickIfNeeded
        ScrollBar.horizontal: ScrollBar {}
        headerPositioning: ListView.OverlayHeader
        header: Rectangle {
            z: 2
            implicitWidth: headings.implicitWidth
            implicitHeight: headings.implicitHeight
            color: Theme.lightColor

            RowLayout {
                id: headings

                Repeater {
                    model: [qsTr("Timestamp"), "B", "\u03b5(B)",
                        "Bx", "By", "Bz", qsTr("T")].concat(table.positions ? ["X [mm]", "Y [mm]", "Z [mm]"] : [])
                    delegate: Label {
                        Layout.preferredWidth: index === 0 ? Theme.timestampColumnWidth : Theme.valueColumnWidth
                        // Over their right-aligned numbers.
                        horizontalAlignment: index === 0 || index === 6 ? Text.AlignLeft : Text.AlignRight
                        text: modelData
                        font.bold: true
                    }
                }
            }
        }

        // Plain labels, no nested model: rows are rebuilt with every block.
        delegate: RowLayout {
            Label {
                Layout.preferredWidth: Theme.timestampColumnWidth
                text: Timestamp
                font.family: Theme.numberFontFamily
            }
            Label {
                Layout.preferredWidth: Theme.valueColumnWidth
                horizontalAlignment: Text.AlignRight
                text: NumberFormat.field(B, table.unit)
                font.family: Theme.numberFontFamily
            }
            Label {
                Layout.preferredWidth: Theme.valueColumnWidth
                horizontalAlignment: Text.AlignRight
                text: NumberFormat.field(dB, table.uncertaintyUnit, 3)
                font.family: Theme.numberFontFamily
            }
            Label {
                Layout.preferredWidth: Theme.valueColumnWidth
                horizontalAlignment: Text.AlignRight
                text: NumberFormat.field(Bx, table.unit)
                font.family: Theme.numberFontFamily
            }
            Label {
                Layout.preferredWidth: Theme.valueColumnWidth
                horizontalAlignment: Text.AlignRight
                text: NumberFormat.field(By, table.unit)
                font.family: Theme.numberFontFamily
            }
            Label {
                Layout.preferredWidth: Theme.valueColumnWidth
                horizontalAlignment: Text.AlignRight
                text: NumberFormat.field(Bz, table.unit)
                font.family: Theme.numberFontFamily
            }
            Label {
                Layout.preferredWidth: Theme.valueColumnWidth
                text: T
                font.family: Theme.numberFontFamily
            }
            Repeater {
                model: table.positions ? [X, Y, Z] : []
                delegate: Label {
                    Layout.preferredWidth: Theme.valueColumnWidth
                    horizontalAlignment: Text.AlignRight
                    text: NumberFormat.number(modelData, 5)
                    font.family: Theme.numberFontFamily
                }
            }
        }
    }
}
