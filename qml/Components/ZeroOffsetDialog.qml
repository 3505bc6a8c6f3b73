import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// Zero offset of the probe: Start calibrates, a long press restores the factory offset.
Dialog {
    id: dialog

    property CMeasurementOperationViewModel viewModel

    objectName: "zeroOffsetDialog"
    title: qsTr("Zero Offset")
    modal: true
    width: Theme.dialogWidth
    anchors.centerIn: Overlay.overlay

    // Closes once the offset has been taken.
    readonly property bool busy: dialog.viewModel !== null && dialog.viewModel.ZeroOffsetBusy
    onBusyChanged: {
        if (!busy)
            dialog.close()
    }

    ColumnLayout {
        anchors.fill: parent

        Label {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            text: qsTr("Place probe in zero-gauss chamber and click Start. Long press restores factory offset.")
        }
        // While the offset is taken (a driver may take seconds).
        RowLayout {
            visible: dialog.busy

            BusyIndicator {
                objectName: "zeroOffsetBusyIndicator"
                running: dialog.busy
            }
            Label { text: qsTr("Taking the zero offset…") }
        }
        CheckBox {
            id: override

            objectName: "overrideWarningsBox"
            Accessible.name: text
            text: qsTr("Override warnings")
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight

            Button {
                objectName: "zeroOffsetCancelButton"
                Accessible.name: text
                text: qsTr("Cancel")
                onClicked: dialog.close()
            }
            Button {
                objectName: "zeroOffsetStartButton"
                Accessible.name: text
                text: qsTr("Start")
                enabled: !dialog.busy
                onClicked: dialog.viewModel.zeroOffset(override.checked)
                onPressAndHold: {
                    dialog.viewModel.restoreZeroOffsetToFactory()
                    dialog.close()
                }
            }
        }
    }
}
