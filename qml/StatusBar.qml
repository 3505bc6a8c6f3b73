import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Theme"
import "Widgets"

// Instrument summary, the last log message and the log dialog.
Rectangle {
    color: Theme.darkColor

    LogDialog {
        id: logDialog

        parent: Overlay.overlay
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacing
        anchors.rightMargin: Theme.spacing
        spacing: Theme.largeSpacing

        Repeater {
            model: [
                { "name": qsTr("Model"), "value": MainViewModel.InstrumentModel },
                { "name": qsTr("Serial"), "value": MainViewModel.InstrumentSerialNumber },
                { "name": qsTr("Status"), "value": MainViewModel.InstrumentStatus }
            ]

            delegate: Label {
                text: modelData.name + ": " + modelData.value
                font.family: Theme.letterFontFamily
            }
        }

        Label {
            objectName: "lastLogMessage"
            Layout.fillWidth: true
            text: qsTr("Info") + ": " + MainViewModel.LastLogMessages.trim()
            elide: Text.ElideRight
            font.family: Theme.letterFontFamily
        }
        Button {
            objectName: "logButton"
            Accessible.name: qsTr("Log messages")
            text: qsTr("Log\u2026")
            onClicked: logDialog.open()
        }
    }
}
