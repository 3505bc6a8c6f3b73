import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "../Theme"

// The log messages of this run: a search over their texts and the least level shown.
Dialog {
    id: dialog

    objectName: "logDialog"
    title: qsTr("Log messages")
    modal: true
    width: Math.min(Theme.logDialogWidth, parent ? parent.width - 2 * Theme.largeSpacing : Theme.logDialogWidth)
    height: Math.min(Theme.logDialogHeight, parent ? parent.height - 2 * Theme.largeSpacing : Theme.logDialogHeight)
    anchors.centerIn: Overlay.overlay

    ColumnLayout {
        anchors.fill: parent
        spacing: Theme.spacing

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing

            TextField {
                objectName: "logSearchField"
                Accessible.name: qsTr("Search")
                Layout.fillWidth: true
                placeholderText: qsTr("Search")
                onTextChanged: MainViewModel.LogMessageProxy.setFilterString(text)
            }
            Label { text: qsTr("Min log level") }
            ComboBox {
                objectName: "logLevelBox"
                Accessible.name: qsTr("Min log level")
                model: [qsTr("Debug"), qsTr("Info"), qsTr("Warning"), qsTr("Critical"), qsTr("Fatal")]
                currentIndex: MainViewModel.LogMessageProxy.MinLevel
                onActivated: MainViewModel.LogMessageProxy.MinLevel = index
            }
        }

        ListView {
            objectName: "logList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: MainViewModel.LogMessageProxy
            ScrollBar.vertical: ScrollBar {}

            delegate: Label {
                width: ListView.view.width
                wrapMode: Text.WrapAnywhere
                text: "[" + [qsTr("Debug"), qsTr("Info"), qsTr("Warning"), qsTr("Critical"), qsTr("Fatal")][level]
                      + "] " + timestamp + " - " + message
                font.family: Theme.numberFontFamily
                color: level >= 2 ? Theme.alarmErrorColor : Theme.textColor
            }
        }

        Button {
            objectName: "logCloseButton"
            Accessible.name: text
            Layout.alignment: Qt.AlignRight
            text: qsTr("Close")
            onClicked: dialog.close()
        }
    }
}
