import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// Which mapper moves the probe, and where to: a Cartesian grid (start, stop and
// step of each axis) or the points of a mapping file. Locked during a run.
GroupBox {
    id: panel

    property CMappingParametersViewModel mapping
    property bool locked

    title: qsTr("Mapping")
    enabled: !locked

    ColumnLayout {
        anchors.fill: parent

        Label { text: qsTr("Mapper") }
        ComboBox {
            objectName: "mapperBox"
            Accessible.name: qsTr("Mapper")
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            model: panel.mapping.Mappers
            currentIndex: panel.mapping.SelectedMapperIndex
            onActivated: panel.mapping.SelectedMapperIndex = index
        }
        Label {
            text: qsTr("Source")
            visible: !panel.mapping.IsMapperOnTheFly
        }
        ComboBox {
            objectName: "sourceBox"
            Accessible.name: qsTr("Position source")
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            visible: !panel.mapping.IsMapperOnTheFly
            model: panel.mapping.Sources
            currentIndex: panel.mapping.SelectedSourceIndex
            onActivated: panel.mapping.SelectedSourceIndex = index
        }

        // The grid, one row per axis.
        Repeater {
            model: panel.mapping.IsCartesianSource ? [
                { "name": "X", "axis": panel.mapping.Grid.X },
                { "name": "Y", "axis": panel.mapping.Grid.Y },
                { "name": "Z", "axis": panel.mapping.Grid.Z }
            ] : []

            delegate: RowLayout {
                Layout.fillWidth: true

                property var axis: modelData.axis
                property int axisIndex: index

                Label {
                    Layout.preferredWidth: Theme.largeSpacing
                    text: modelData.name
                }
                Repeater {
                    model: [
                        { "name": "Start", "value": axis.Start },
                        { "name": "Stop", "value": axis.Stop },
                        { "name": "Step", "value": axis.StepSize }
                    ]
                    delegate: TextField {
                        objectName: "grid" + axisIndex + modelData.name
                        Accessible.name: qsTr("%1 %2").arg(["X", "Y", "Z"][axisIndex]).arg(modelData.name)
                        Layout.fillWidth: true
                        Layout.preferredWidth: 1
                        text: String(Number(Number(modelData.value).toPrecision(4)))
                        font.family: Theme.numberFontFamily
                        inputMethodHints: Qt.ImhFormattedNumbersOnly
                        onEditingFinished: {
                            var values = [axis.Start, axis.Stop, axis.StepSize]
                            var number = Number(text.trim().replace(",", "."))
                            values[index] = text.trim().length === 0 ? NaN : number
                            if (!panel.mapping.applyAxis(axisIndex, values[0], values[1], values[2]))
                                text = String(Number(Number(modelData.value).toPrecision(4)))
                        }
                    }
                }
            }
        }

        Label {
            objectName: "gridText"
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            visible: panel.mapping.IsCartesianSource
            text: panel.mapping.GridText
            wrapMode: Text.WordWrap
        }

        Label {
            objectName: "mappingInputError"
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            visible: text.length > 0
            text: panel.mapping.InputError
            color: Theme.alarmErrorColor
            wrapMode: Text.WordWrap
        }

        Button {
            objectName: "chooseMappingFileButton"
            Accessible.name: qsTr("Choose a mapping file")
            Layout.fillWidth: true
            visible: !panel.mapping.IsCartesianSource && !panel.mapping.IsMapperOnTheFly
            text: qsTr("Mapping file…")
            onClicked: panel.mapping.chooseMappingFile()
        }
        Label {
            objectName: "mappingFileText"
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            visible: !panel.mapping.IsCartesianSource && text.length > 0
            text: panel.mapping.MappingFileText
            wrapMode: Text.WordWrap
        }
    }
}
