import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15
import "Theme"

ApplicationWindow {
    id: mainWindow

    // The first size is chosen once, when the desktop's size is known.
    property bool sized: false

    function chooseFirstSize() {
        if (sized)
            return
        sized = true
        var width = minimumWidth + Theme.windowGrowth
        var height = minimumHeight + Theme.windowGrowth
        if (Screen.desktopAvailableWidth >= width + Theme.desktopMargin
                && Screen.desktopAvailableHeight >= height + Theme.desktopMargin) {
            mainWindow.width = width
            mainWindow.height = height
        } else {
            mainWindow.visibility = Window.Maximized
        }
    }

    // The file shown first, as desktop programs name their windows.
    title: (MainViewModel.DocumentName.length > 0 ? MainViewModel.DocumentName + " \u2014 " : "") + OrganizationName + " " + AppName + " v" + Version
    visible: true
    minimumWidth: Theme.windowMinimumWidth
    minimumHeight: Theme.windowMinimumHeight
    width: minimumWidth
    height: minimumHeight
    color: Theme.lightColor
    font.family: Theme.letterFontFamily
    // Focus and selection in the program's accent colour.
    palette.highlight: Theme.accentColor

    Component.onCompleted: Qt.callLater(chooseFirstSize)
    onHeightChanged: MainViewModel.MainWindowHeight = height
    onWidthChanged: MainViewModel.SmallWindowSize = width <= Theme.compactWindowWidth
    onClosing: function (close) {
        close.accepted = MainViewModel.exitApplicationAllowed()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 0

            // Holds the menu's place; the open drawer reaches over the page.
            Item {
                z: 1
                Layout.fillHeight: true
                Layout.preferredWidth: MainViewModel.SmallWindowSize ? Theme.compactMenuClosedWidth : Theme.mainMenuWidth

                MainMenu {
                    objectName: compact ? "smallMainMenu" : "mainMenu"
                    anchors.top: parent.top
                    anchors.bottom: parent.bottom
                    anchors.left: parent.left
                    compact: MainViewModel.SmallWindowSize
                }
            }

            Item {
                Layout.fillWidth: true
                Layout.fillHeight: true

                Loader {
                    id: pageLoader

                    anchors.fill: parent
                    active: !MainViewModel.LoaderSourceChanging
                    source: MainViewModel.LoaderSource
                    // The window's layout reaches a measurement page through the page's own
                    // properties: the page itself knows only its view model.
                    onLoaded: {
                        if (!item.hasOwnProperty("panelsOpen"))
                            return
                        item.compact = Qt.binding(function() { return MainViewModel.SmallWindowSize })
                        item.panelsOpen = Qt.binding(function() { return MainViewModel.ParameterMenuExpanded })
                    }
                }
                Connections {
                    target: pageLoader.item
                    ignoreUnknownSignals: true
                    function onPanelsOpenRequested(open) { MainViewModel.ParameterMenuExpanded = open }
                }
                // A click anywhere on the page closes the open drawer (the operation
                // pages close their own open panels).
                MouseArea {
                    anchors.fill: parent
                    visible: MainViewModel.PageMenuExpanded
                    onClicked: {
                        MainViewModel.PageMenuExpanded = false
                        MainViewModel.ParameterMenuExpanded = false
                    }
                }
            }
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
