import QtQuick 2.15
import QtQuick.Controls 2.15
import "../Utils/Style.js" as Style

Item {
    Label {
        anchors.centerIn: parent
        text: qsTr("Meter")
        font.family: Style.letterFontFamily
        font.pixelSize: 20
    }
}
