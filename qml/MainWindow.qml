import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Theme"

ApplicationWindow {
    id: mainWindow

    title: OrganizationName + " " + AppName + " v" + Version
    visible: true
    minimumWidth: Theme.windowMinimumWidth
    minimumHeight: Theme.windowMinimumHeight
    width: minimumWidth
    height: minimumHeight
    color: Theme.lightColor
    font.family: Theme.letterFontFamily

    onHeightChanged: MainViewModel.MainWindowHeight = height
    onWidthChanged: MainViewModel.SmallWindowSize = width <= Theme.compactWindowWidth
    onClosing: function (close) {
        close.accepted = MainViewModel.exitApplicationAllowed()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Loader {
            id: pageLoader

            Layout.fillWidth: true
            Layout.fillHeight: true
            active: !MainViewModel.LoaderSourceChanging
            source: MainViewModel.LoaderSource
        }

        SettingsBar {
            Layout.fillWidth: true
        }

        StatusBar {
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.statusBarHeight
        }
    }
}
