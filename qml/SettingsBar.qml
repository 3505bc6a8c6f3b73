import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Theme"

// Settings, help and the instrument selection, under every page (also Ctrl+comma, F1, Ctrl+0).
Rectangle {
    implicitHeight: Theme.barHeight
    color: Theme.lightColor

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacing
        anchors.rightMargin: Theme.spacing

        Button {
            id: settingsPageButton

            objectName: "settingsPageButton"
            Accessible.name: text
            text: qsTr("Main settings")
            enabled: !MainViewModel.LoaderSourceChanging
            onClicked: MainViewModel.displaySettingsPage()
            ToolTip.visible: hovered
            ToolTip.delay: Theme.toolTipDelay
            ToolTip.text: text + " (Ctrl+,)"

            Shortcut {
                sequence: "Ctrl+,"
                enabled: settingsPageButton.enabled
                onActivated: settingsPageButton.clicked()
            }
        }
        Item {
            Layout.fillWidth: true
        }
        Button {
            id: helpButton

            objectName: "helpButton"
            Accessible.name: text
            text: qsTr("Help")
            enabled: !MainViewModel.LoaderSourceChanging
            onClicked: MainViewModel.displayHelp()
            ToolTip.visible: hovered
            ToolTip.delay: Theme.toolTipDelay
            ToolTip.text: qsTr("Help on what is shown") + " (F1)"

            Shortcut {
                sequence: "F1"
                enabled: helpButton.enabled
                onActivated: helpButton.clicked()
            }
        }
        Button {
            id: instrumentSelectionPageButton

            objectName: "instrumentSelectionPageButton"
            Accessible.name: text
            text: qsTr("Instrument selection")
            enabled: !MainViewModel.LoaderSourceChanging
            onClicked: MainViewModel.displayInstrumentSelectionPage()
            ToolTip.visible: hovered
            ToolTip.delay: Theme.toolTipDelay
            ToolTip.text: text + " (Ctrl+0)"

            Shortcut {
                sequence: "Ctrl+0"
                enabled: instrumentSelectionPageButton.enabled
                onActivated: instrumentSelectionPageButton.clicked()
            }
        }
    }
}
