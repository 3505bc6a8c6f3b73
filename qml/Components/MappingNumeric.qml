import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The newest point: its field components, where the probe was and how it was turned.
Item {
    id: section

    property CMappingOperationViewModel viewModel

    GridLayout {
        anchors.left: parent.left
        anchors.top: parent.top
        columns: 2
        columnSpacing: Theme.largeSpacing
        rowSpacing: Theme.spacing

        Repeater {
            model: [
                { "name": "B", "value": "BLastBlock", "unit": true },
                { "name": "\u03b5(B)", "value": "dBLastBlock", "unit": false },
                { "name": "B\u00b7B'", "value": "BPrimeLastBlock", "unit": true },
                { "name": "Bx", "value": "BxLastBlock", "unit": true },
                { "name": "By", "value": "ByLastBlock", "unit": true },
                { "name": "Bz", "value": "BzLastBlock", "unit": true }
            ]
            delegate: RowLayout {
                Layout.columnSpan: 2
                Label {
                    Layout.preferredWidth: Theme.nameColumnWidth
                    text: modelData.name
                    font.pixelSize: Theme.valueFontPixelSize
                }
                Label {
                    objectName: "mappingValue" + index
                    Layout.preferredWidth: Theme.valueColumnWidth * 2
                    horizontalAlignment: Text.AlignRight
                    text: modelData.unit ? NumberFormat.field(section.viewModel[modelData.value], section.viewModel.DisplayUnitsText)
                                         : NumberFormat.field(section.viewModel[modelData.value],
                                                              section.viewModel.DisplayUncertaintyUnitsText, 3)
                    font.family: Theme.numberFontFamily
                    font.pixelSize: Theme.valueFontPixelSize
                }
            }
        }

        Label {
            Layout.columnSpan: 2
            objectName: "mappingPosition"
            text: qsTr("Position [mm]: X %1, Y %2, Z %3").arg(NumberFormat.number(section.viewModel.Position.X, 4))
                  .arg(NumberFormat.number(section.viewModel.Position.Y, 4)).arg(NumberFormat.number(section.viewModel.Position.Z, 4))
            font.family: Theme.numberFontFamily
        }
        Label {
            Layout.columnSpan: 2
            text: qsTr("Orientation [\u00b0]: roll %1, pitch %2, yaw %3").arg(NumberFormat.number(section.viewModel.Orientation.Roll, 4))
                  .arg(NumberFormat.number(section.viewModel.Orientation.Pitch, 4)).arg(NumberFormat.number(section.viewModel.Orientation.Yaw, 4))
            font.family: Theme.numberFontFamily
        }
        Label {
            Layout.columnSpan: 2
            text: qsTr("Points measured: %1").arg(section.viewModel.Arrows.count)
        }
    }
}
