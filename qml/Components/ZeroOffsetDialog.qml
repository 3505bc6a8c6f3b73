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

    ColumnLayout {
        anchors.fill: parent

        Label {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            text: qsTr("Place probe in zero-gauss chamber and click Start. Long press restores factory offset.")
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
                onClicked: {
                    dialog.viewModel.zeroOffset(override.checked)
                    dialog.close()
                }
                onPressAndHold: {
                    dialog.viewModel.restoreZeroOffsetToFactory()
                    dialog.close()
                }
            }
        }
    }
}
