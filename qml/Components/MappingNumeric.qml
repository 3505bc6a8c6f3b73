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
                    text: isNaN(section.viewModel[modelData.value]) ? "--" : section.viewModel[modelData.value].toPrecision(6)
                    font.family: Theme.numberFontFamily
                    font.pixelSize: Theme.valueFontPixelSize
                }
                Label {
                    text: modelData.unit ? section.viewModel.DisplayUnitsText : section.viewModel.DisplayUncertaintyUnitsText
                }
            }
        }

        Label {
            Layout.columnSpan: 2
            objectName: "mappingPosition"
            text: qsTr("Position [mm]: X %1, Y %2, Z %3").arg(section.viewModel.Position.X.toPrecision(4))
                  .arg(section.viewModel.Position.Y.toPrecision(4)).arg(section.viewModel.Position.Z.toPrecision(4))
            font.family: Theme.numberFontFamily
        }
        Label {
            Layout.columnSpan: 2
            text: qsTr("Orientation [\u00b0]: roll %1, pitch %2, yaw %3").arg(section.viewModel.Orientation.Roll.toFixed(2))
                  .arg(section.viewModel.Orientation.Pitch.toFixed(2)).arg(section.viewModel.Orientation.Yaw.toFixed(2))
            font.family: Theme.numberFontFamily
        }
        Label {
            Layout.columnSpan: 2
            text: qsTr("Points measured: %1").arg(section.viewModel.Arrows.count)
        }
    }
}
