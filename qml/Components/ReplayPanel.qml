import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0

// Speed and range of a replay, in blocks counted from 1.
GroupBox {
    id: panel

    property CReplayParametersViewModel replay

    title: qsTr("Replay")

    ColumnLayout {
        anchors.fill: parent

        Label { text: qsTr("Speed") }
        ComboBox {
            objectName: "replaySpeedBox"
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            Accessible.name: qsTr("Replay speed")
            model: panel.replay.TimeWarpNames
            currentIndex: panel.replay.SelectedTimeWarpIndex
            onActivated: panel.replay.SelectedTimeWarpIndex = index
        }
        Label { text: qsTr("Start") }
        SpinBox {
            objectName: "replayStartBox"
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            Accessible.name: qsTr("First block")
            from: 1
            to: Math.max(1, panel.replay.NumBlocks)
            value: panel.replay.StartingBlock
            onValueModified: panel.replay.StartingBlock = value
        }
        Label { text: qsTr("End") }
        SpinBox {
            objectName: "replayEndBox"
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            Accessible.name: qsTr("Last block")
            from: 1
            to: Math.max(1, panel.replay.NumBlocks)
            value: panel.replay.EndingBlock
            onValueModified: panel.replay.EndingBlock = value
        }
        Label {
            objectName: "replayCurrentBlock"
            text: panel.replay.PositionText
        }
        CheckBox {
            objectName: "stepByStepBox"
            Accessible.name: text
            text: qsTr("Step by step")
            checked: panel.replay.StepByStepMode
            onToggled: panel.replay.StepByStepMode = checked
        }
    }
}
