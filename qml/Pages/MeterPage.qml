import QtQuick 2.15
import QtQuick.Controls 2.15
import "../Theme"

Item {
    Label {
        anchors.centerIn: parent
        text: qsTr("Meter")
        font.family: Theme.letterFontFamily
        font.pixelSize: Theme.titleFontPixelSize
    }
}
