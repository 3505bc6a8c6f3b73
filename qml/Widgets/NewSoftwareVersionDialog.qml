import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "../Theme"

// A second top-level window: a newer version is published. It offers the download
// page; "Skip this version" stops offering this one, "Ignore" only closes.
ApplicationWindow {
    id: dialog

    objectName: "newSoftwareVersionDialog"
    title: qsTr("Software update available")
    visible: true
    flags: Qt.Dialog
    width: Theme.dialogWidth
    height: Theme.dialogHeight
    minimumWidth: Theme.dialogWidth
    minimumHeight: Theme.dialogHeight
    color: Theme.lightColor
    font.family: Theme.letterFontFamily

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: Theme.largeSpacing
        spacing: Theme.spacing

        Label {
            objectName: "newVersionText"
            Layout.fillWidth: true
            text: qsTr("The new version ") + NewVersion + qsTr(" of this software is available.")
            wrapMode: Text.WordWrap
            font.pixelSize: Theme.titleFontPixelSize * 0.8
        }
        Label {
            objectName: "downloadPageLink"
            Accessible.name: qsTr("Download page")
            Layout.fillWidth: true
            text: "<a href=\"" + SoftwareUpdateWebsite + "\">" + qsTr("Download page") + "</a>"
            onLinkActivated: function (link) { Qt.openUrlExternally(link) }
        }
        Item { Layout.fillHeight: true }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            spacing: Theme.spacing

            Button {
                objectName: "skipVersionButton"
                Accessible.name: text
                text: qsTr("Skip this version")
                onClicked: {
                    MainViewModel.ignoreSoftwareUpdate(NewVersion)
                    dialog.close()
                }
            }
            Button {
                objectName: "ignoreVersionButton"
                Accessible.name: text
                text: qsTr("Ignore")
                onClicked: dialog.close()
            }
        }
    }
}
