import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Utils/Style.js" as Style

ApplicationWindow {
    id: mainWindow

    title: OrganizationName + " " + AppName + " v" + Version
    visible: true
    minimumWidth: 954
    minimumHeight: 698
    width: minimumWidth
    height: minimumHeight
    color: Style.lightColor
    font.family: Style.letterFontFamily

    onHeightChanged: MainViewModel.MainWindowHeight = height
    onWidthChanged: MainViewModel.SmallWindowSize = width <= 1024
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
            Layout.preferredHeight: Style.statusBarHeight
        }
    }
}
