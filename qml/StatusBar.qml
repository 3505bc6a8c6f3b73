import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Utils/Style.js" as Style

// Instrument summary and the last log message.
Rectangle {
    color: Style.darkColor

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        spacing: 16

        Repeater {
            model: [
                { "name": qsTr("Model"), "value": MainViewModel.InstrumentModel },
                { "name": qsTr("Serial"), "value": MainViewModel.InstrumentSerialNumber },
                { "name": qsTr("Status"), "value": MainViewModel.InstrumentStatus }
            ]

            delegate: Label {
                text: modelData.name + ": " + modelData.value
                font.family: Style.letterFontFamily
            }
        }

        Label {
            Layout.fillWidth: true
            text: qsTr("Info") + ": " + MainViewModel.LastLogMessages.trim()
            elide: Text.ElideRight
            font.family: Style.letterFontFamily
        }
    }
}
