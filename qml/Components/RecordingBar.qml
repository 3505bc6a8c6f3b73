import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQml.Models 2.15
import Tesvana.ViewModels 1.0
import "../Widgets"

// The recording bar of the measurement pages: each button shown exactly when its
// view model says so, each with a key for people who repeat it all day (in its tooltip).
RowLayout {
    id: bar

    property CMeasurementOperationViewModel viewModel

    Repeater {
        // A fixed list: each button reads whether it is shown from the view model.
        model: [
            { "name": "resume", "text": qsTr("Resume"), "shown": "ResumeVisible", "key": "F5", "measures": true },
            { "name": "step", "text": qsTr("Step"), "shown": "StepVisible", "key": "F7" },
            { "name": "hold", "text": qsTr("Hold"), "shown": "HoldVisible", "key": "F6" },
            { "name": "record", "text": qsTr("Record"), "shown": "RecordVisible", "key": "Ctrl+R", "measures": true },
            { "name": "stop", "text": qsTr("Stop"), "shown": "StopVisible", "key": "Shift+F5" },
            { "name": "end", "text": qsTr("End"), "shown": "EndVisible", "key": "Ctrl+E" },
            { "name": "start", "text": qsTr("Playback"), "shown": "PlaybackVisible", "key": "Ctrl+P" },
            { "name": "load", "text": qsTr("Load"), "shown": "LoadVisible", "key": "Ctrl+O" },
            { "name": "save", "text": qsTr("Save"), "shown": "SaveVisible", "key": "Ctrl+S" },
            { "name": "exportHdf5", "text": qsTr("Export HDF5…"), "shown": "ExportHdf5Visible", "key": "Ctrl+Shift+S" }
        ]

        delegate: KeyButton {
            objectName: modelData.name + "Button"
            text: modelData.text
            key: modelData.key
            visible: bar.viewModel[modelData.shown]
            // Measuring takes parameters the instrument can use.
            enabled: modelData.measures !== true || bar.viewModel.ParametersValid
            onClicked: bar.viewModel[modelData.name]()
        }
    }

    // The recordings read or saved last: the menu names them, the tooltip of each says where.
    Button {
        objectName: "recentButton"
        Accessible.name: text
        text: qsTr("Recent")
        visible: bar.viewModel.LoadVisible && bar.viewModel.RecentFiles.length > 0
        onClicked: recentMenu.open()

        Menu {
            id: recentMenu

            objectName: "recentMenu"
            y: parent.height

            Instantiator {
                model: bar.viewModel.RecentFiles

                MenuItem {
                    objectName: "recentFile" + index
                    Accessible.name: text
                    text: modelData.substring(modelData.lastIndexOf("/") + 1)
                    ToolTip.visible: hovered
                    ToolTip.text: modelData
                    onTriggered: bar.viewModel.loadRecent(modelData)
                }

                onObjectAdded: recentMenu.insertItem(index, object)
                onObjectRemoved: recentMenu.removeItem(object)
            }
        }
    }

    Item { Layout.fillWidth: true }

    Button {
        objectName: "zeroOffsetButton"
        Accessible.name: text
        text: qsTr("Zero-offset")
        visible: bar.viewModel.ZeroOffsetVisible
        onClicked: zeroOffsetDialog.open()
    }

    ZeroOffsetDialog {
        id: zeroOffsetDialog

        viewModel: bar.viewModel
    }
}
