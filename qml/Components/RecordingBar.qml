import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The recording bar of the measurement pages: each button shown exactly when its
// view model says so.
RowLayout {
    id: bar

    property CMeasurementOperationViewModel viewModel

    Repeater {
        // A fixed list: each button reads whether it is shown from the view model.
        model: [
            { "name": "resume", "text": qsTr("Resume"), "shown": "ResumeVisible" },
            { "name": "step", "text": qsTr("Step"), "shown": "StepVisible" },
            { "name": "hold", "text": qsTr("Hold"), "shown": "HoldVisible" },
            { "name": "record", "text": qsTr("Record"), "shown": "RecordVisible" },
            { "name": "stop", "text": qsTr("Stop"), "shown": "StopVisible" },
            { "name": "end", "text": qsTr("End"), "shown": "EndVisible" },
            { "name": "start", "text": qsTr("Playback"), "shown": "PlaybackVisible" },
            { "name": "load", "text": qsTr("Load"), "shown": "LoadVisible" },
            { "name": "save", "text": qsTr("Save"), "shown": "SaveVisible" }
        ]

        delegate: Button {
            objectName: modelData.name + "Button"
            Accessible.name: modelData.text
            text: modelData.text
            visible: bar.viewModel[modelData.shown]
            onClicked: bar.viewModel[modelData.name]()
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
