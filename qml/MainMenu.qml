import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Theme"
import "Widgets"

// The pages of the operations, down the left side. In a narrow window it is a
// drawer: a thin strip with short names that opens over the page with the full ones.
Rectangle {
    id: menu

    // The narrow window's drawer instead of the fixed menu.
    property bool compact: false
    readonly property bool expanded: compact && MainViewModel.PageMenuExpanded
    readonly property var pages: [
        { "key": "meter", "page": "MeterOperation", "text": qsTr("Meter"), "short": qsTr("Meter"),
          "shown": Settings.EnableMeterMode, "shortcut": "Ctrl+1" },
        { "key": "spectrum", "page": "SpectrumOperation", "text": qsTr("Spectrum"), "short": qsTr("Spectrum"),
          "shown": Settings.EnableSpectrumMode, "shortcut": "Ctrl+2" },
        { "key": "acAnalysis", "page": "AcAnalysisOperation", "text": qsTr("AC Analysis"), "short": qsTr("AC"),
          "shown": Settings.EnableAcAnalysisMode, "shortcut": "Ctrl+3" },
        { "key": "mapping", "page": "MappingOperation", "text": qsTr("Mapping"), "short": qsTr("Mapping"),
          "shown": Settings.EnableMappingMode, "shortcut": "Ctrl+4" }
    ]

    function open(key) {
        MainViewModel.PageMenuExpanded = false
        if (key === "meter")
            MainViewModel.displayMeterPage()
        else if (key === "spectrum")
            MainViewModel.displaySpectrumPage()
        else if (key === "acAnalysis")
            MainViewModel.displayAcAnalysisPage()
        else if (key === "mapping")
            MainViewModel.displayMappingPage()
    }

    width: !compact ? Theme.mainMenuWidth : expanded ? Theme.compactMenuOpenWidth : Theme.compactMenuClosedWidth
    color: Theme.darkColor

    // The open drawer's edge over the page.
    Rectangle {
        visible: menu.expanded
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: Theme.tinySpacing
        color: Theme.secondaryTextColor
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.topMargin: Theme.smallSpacing
        spacing: Theme.smallSpacing

        Button {
            objectName: "pageMenuToggle"
            Accessible.name: menu.expanded ? qsTr("Close the page menu") : qsTr("Open the page menu")
            visible: menu.compact
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: Theme.compactMenuClosedWidth - 2 * Theme.smallSpacing
            text: "\u2630"
            font.pixelSize: Theme.titleFontPixelSize
            flat: true
            onClicked: MainViewModel.PageMenuExpanded = !MainViewModel.PageMenuExpanded
        }

        Repeater {
            model: menu.pages

            delegate: KeyButton {
                id: pageButton

                readonly property bool current: !!ActivePageViewModel && ActivePageViewModel.Name === modelData.page

                objectName: modelData.key + "PageButton"
                Accessible.name: modelData.text
                visible: modelData.shown
                enabled: !MainViewModel.LoaderSourceChanging
                Layout.fillWidth: true
                Layout.leftMargin: Theme.tinySpacing / 2
                Layout.rightMargin: Theme.tinySpacing / 2
                Layout.preferredHeight: menu.compact ? Theme.compactMenuButtonHeight : Theme.mainMenuButtonHeight
                text: menu.compact && !menu.expanded ? modelData.short : modelData.text
                // The strip is narrow: the name takes its whole width.
                leftPadding: menu.compact && !menu.expanded ? 1 : Theme.spacing
                rightPadding: menu.compact && !menu.expanded ? 1 : Theme.spacing
                font.bold: current
                // The page shown stands out in the accent colour.
                contentItem: Label {
                    text: pageButton.text
                    font: pageButton.font
                    color: pageButton.current ? Theme.textOnColor : Theme.textColor
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    // The strip's whole words, smaller where they would not fit: no abbreviation
                    // to guess, no text out of its frame.
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: Theme.smallFontPixelSize
                    minimumPointSize: Theme.smallFontPixelSize
                    elide: Text.ElideRight
                }
                background: Rectangle {
                    color: pageButton.current ? Theme.accentColor
                                              : pageButton.down ? Theme.darkColor : Theme.lightColor
                    opacity: pageButton.enabled ? 1 : 0.6
                }
                // The short names of the strip are not what a screen reader or tooltip says.
                toolTipText: modelData.text
                key: modelData.shortcut
                onClicked: menu.open(modelData.key)
            }
        }

        Item {
            Layout.fillHeight: true
        }
    }
}
