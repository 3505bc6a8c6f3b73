import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Theme"

// Instrument summary and the last log message.
Rectangle {
    color: Theme.darkColor

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
            Layout.fillWidth: true
            text: qsTr("Info") + ": " + MainViewModel.LastLogMessages.trim()
            elide: Text.ElideRight
            font.family: Theme.letterFontFamily
        }
    }
}
