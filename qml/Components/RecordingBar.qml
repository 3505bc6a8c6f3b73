import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The recording bar of the measurement pages: each button shown exactly when its
// view model says so.
RowLayout {
    id: bar

    property CMeterOperationViewModel viewModel

    Repeater {
        model: [
            { "name": "resume", "text": qsTr("Resume"), "shown": bar.viewModel.ResumeVisible },
            { "name": "step", "text": qsTr("Step"), "shown": bar.viewModel.StepVisible },
            { "name": "hold", "text": qsTr("Hold"), "shown": bar.viewModel.HoldVisible },
            { "name": "record", "text": qsTr("Record"), "shown": bar.viewModel.RecordVisible },
            { "name": "stop", "text": qsTr("Stop"), "shown": bar.viewModel.StopVisible },
            { "name": "end", "text": qsTr("End"), "shown": bar.viewModel.EndVisible },
            { "name": "start", "text": qsTr("Playback"), "shown": bar.viewModel.PlaybackVisible },
            { "name": "load", "text": qsTr("Load"), "shown": bar.viewModel.LoadVisible },
            { "name": "save", "text": qsTr("Save"), "shown": bar.viewModel.SaveVisible }
        ]

        delegate: Button {
            objectName: modelData.name + "Button"
            Accessible.name: modelData.text
            text: modelData.text
            visible: modelData.shown
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
