import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Theme"
import "Widgets"

// Settings, help and the instrument selection, under every page (also Ctrl+comma, F1, Ctrl+0).
Rectangle {
    implicitHeight: Theme.barHeight
    color: Theme.lightColor

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacing
        anchors.rightMargin: Theme.spacing

        KeyButton {
            objectName: "settingsPageButton"
            text: qsTr("Main settings")
            key: "Ctrl+,"
            enabled: !MainViewModel.LoaderSourceChanging
            onClicked: MainViewModel.displaySettingsPage()
        }
        Item {
            Layout.fillWidth: true
        }
        KeyButton {
            objectName: "helpButton"
            text: qsTr("Help")
            toolTipText: qsTr("Help on what is shown")
            key: "F1"
            enabled: !MainViewModel.LoaderSourceChanging
            onClicked: MainViewModel.displayHelp()
        }
        KeyButton {
            objectName: "instrumentSelectionPageButton"
            text: qsTr("Instrument selection")
            key: "Ctrl+0"
            enabled: !MainViewModel.LoaderSourceChanging
            onClicked: MainViewModel.displayInstrumentSelectionPage()
        }
    }
}
