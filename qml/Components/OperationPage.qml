import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The frame of the measurement pages: section tabs over the sections, the block's
// comment, the recording's notices and the recording bar on the left; the
// measurement parameters with their file commands and the page's own panels on
// the right, scrolling when the window is too low for all of them. In a narrow
// window the panels fold into a strip on the right and open over the page.
Item {
    id: page

    // The window's layout, given by the window that shows the page: a narrow window
    // folds the panels, which then open over the page when asked.
    property bool compact: false
    property bool panelsOpen: false
    signal panelsOpenRequested(bool open)

    property CMeasurementOperationViewModel viewModel
    property CMeasurementParametersViewModel measurement
    // Each tab: { "name": objectName, "text": label }, in the order of the sections.
    property var tabs: []
    property string blockComment
    default property alias sections: stack.data
    property alias panels: extraPanels.data

    Item {
        anchors.fill: parent
        anchors.margins: Theme.spacing

        ColumnLayout {
            // Takes what the panels leave, whatever its content would like.
            anchors.left: parent.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.right: page.compact ? panelStrip.left : panelsView.left
            anchors.rightMargin: Theme.spacing
            clip: true

            TabBar {
                id: sectionTabs

                objectName: "pageSections"
                Layout.fillWidth: true
                Layout.maximumWidth: parent.width
                currentIndex: page.viewModel.SectionIndex
                onCurrentIndexChanged: page.viewModel.SectionIndex = currentIndex

                Repeater {
                    model: page.tabs
                    delegate: TabButton {
                        objectName: modelData.name
                        Accessible.name: text
                        text: modelData.text
                    }
                }
            }

            StackLayout {
                id: stack

                Layout.fillWidth: true
                Layout.maximumWidth: parent.width
                Layout.fillHeight: true
                currentIndex: sectionTabs.currentIndex
            }

            Label {
                Layout.fillWidth: true
                visible: text.length > 0
                text: page.blockComment
                elide: Text.ElideRight
            }

            Label {
                objectName: "documentName"
                Layout.fillWidth: true
                visible: text.length > 0 && page.viewModel.RecordingKeptText.length === 0
                text: page.viewModel.DocumentName.length > 0 ? qsTr("File: %1").arg(page.viewModel.DocumentName) : ""
                elide: Text.ElideMiddle
            }

            Label {
                objectName: "recordingKept"
                Layout.fillWidth: true
                visible: text.length > 0
                text: page.viewModel.RecordingKeptText
                // The file's name gives way first: the length, size and free space stay read.
                elide: Text.ElideMiddle
            }

            Label {
                objectName: "instrumentNotice"
                Layout.fillWidth: true
                visible: text.length > 0
                text: page.viewModel.InstrumentNotice
                color: Theme.alarmErrorColor
                wrapMode: Text.WordWrap
            }

            Label {
                objectName: "analysisNotice"
                Layout.fillWidth: true
                visible: text.length > 0
                text: page.viewModel.AnalysisNotice
                color: Theme.alarmErrorColor
                wrapMode: Text.WordWrap
            }

            Rectangle {
                objectName: "retentionNotice"
                Layout.fillWidth: true
                Layout.preferredHeight: notice.implicitHeight + 2 * Theme.spacing
                visible: page.viewModel.RetentionNotice.length > 0
                radius: Theme.cornerRadius
                color: Theme.alarmOverTargetColor

                Label {
                    id: notice

                    anchors.fill: parent
                    anchors.margins: Theme.spacing
                    wrapMode: Text.WordWrap
                    text: page.viewModel.RetentionNotice
                }
            }

            // A large file opening in the background, or how much of it memory holds.
            RowLayout {
                objectName: "openingBar"
                Layout.fillWidth: true
                visible: page.viewModel.IsOpening || page.viewModel.OpenedFileText.length > 0
                spacing: Theme.spacing

                Label {
                    objectName: "openedFileText"
                    Layout.fillWidth: true
                    text: page.viewModel.OpenedFileText
                    elide: Text.ElideMiddle
                }
                ProgressBar {
                    objectName: "openingProgress"
                    Accessible.name: qsTr("Opening the file")
                    Layout.preferredWidth: Theme.labelColumnWidth
                    visible: page.viewModel.IsOpening
                    value: page.viewModel.OpeningProgress
                }
                Button {
                    objectName: "cancelOpeningButton"
                    Accessible.name: text
                    text: qsTr("Cancel")
                    visible: page.viewModel.IsOpening
                    onClicked: page.viewModel.cancelOpening()
                }
            }

            RecordingBar {
                Layout.fillWidth: true
                viewModel: page.viewModel
            }
        }

        // The open panels close with a click beside them, as the page menu does.
        MouseArea {
            anchors.fill: parent
            visible: page.compact && page.panelsOpen
            onClicked: page.panelsOpenRequested(false)
        }

        Rectangle {
            id: panelStrip

            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: page.compact ? Theme.compactMenuClosedWidth : 0
            visible: page.compact
            color: Theme.darkColor

            Button {
                objectName: "parameterMenuToggle"
                Accessible.name: page.panelsOpen ? qsTr("Close the parameters") : qsTr("Open the parameters")
                anchors.top: parent.top
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.topMargin: Theme.smallSpacing
                width: parent.width - 2 * Theme.smallSpacing
                text: "\u2699"
                font.pixelSize: Theme.titleFontPixelSize
                flat: true
                ToolTip.visible: hovered
                ToolTip.delay: Theme.toolTipDelay
                ToolTip.text: qsTr("Measurement parameters and panels")
                onClicked: page.panelsOpenRequested(!page.panelsOpen)
            }
        }

        ScrollView {
            id: panelsView

            anchors.right: page.compact ? panelStrip.left : parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: Theme.parametersPanelWidth
            visible: !page.compact || page.panelsOpen
            z: 1
            clip: true
            contentWidth: availableWidth
            // Panels taller than the window show that they go on: the bar stays, beside them.
            ScrollBar.vertical.policy: contentHeight > height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
            rightPadding: contentHeight > height ? ScrollBar.vertical.width : 0

            background: Rectangle {
                color: Theme.lightColor
                border.color: page.compact ? Theme.secondaryTextColor : "transparent"
            }

            ColumnLayout {
                width: panelsView.availableWidth

                MeasurementPanel {
                    Layout.fillWidth: true
                    measurement: page.measurement
                }

                Button {
                    objectName: "defaultParametersButton"
                    Accessible.name: qsTr("Default measurement parameters")
                    Layout.fillWidth: true
                    visible: page.viewModel.DefaultParametersOffered
                    text: qsTr("Default")
                    onClicked: page.viewModel.setDefaultParameters()
                }

                RowLayout {
                    Layout.fillWidth: true

                    Button {
                        objectName: "saveParametersButton"
                        Accessible.name: qsTr("Save parameters to a file")
                        Layout.fillWidth: true
                        text: qsTr("Save…")
                        onClicked: page.viewModel.saveParameters()
                    }
                    Button {
                        objectName: "loadParametersButton"
                        Accessible.name: qsTr("Load parameters from a file")
                        Layout.fillWidth: true
                        text: qsTr("Load…")
                        // Not while measuring: a load changes what the instrument does.
                        enabled: !page.viewModel.SessionInProgress
                        onClicked: page.viewModel.loadParameters()
                    }
                }

                ColumnLayout {
                    id: extraPanels

                    Layout.fillWidth: true
                }

                ReplayPanel {
                    Layout.fillWidth: true
                    replay: page.viewModel.ReplayParametersViewModel
                }
            }
        }
    }
}
