import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The survey report: site, surveyor and notes (remembered), the limits to judge by,
// then the recording shown or files chosen. The report is written in the background;
// the line at the bottom says where it went or why it did not.
Dialog {
    id: dialog

    property CReportViewModel report

    objectName: "reportDialog"
    title: qsTr("Exposure survey report")
    modal: true
    // Over the window, not the panel that opens it.
    parent: Overlay.overlay
    width: Math.min(Theme.dialogWidth, parent ? parent.width - 2 * Theme.largeSpacing : Theme.dialogWidth)
    anchors.centerIn: parent

    ColumnLayout {
        anchors.fill: parent
        spacing: Theme.smallSpacing

        Label { text: qsTr("Site") }
        TextField {
            objectName: "reportSiteField"
            Accessible.name: qsTr("Site")
            Layout.fillWidth: true
            text: dialog.report.Site
            onEditingFinished: dialog.report.Site = text
        }
        Label { text: qsTr("Surveyor") }
        TextField {
            objectName: "reportSurveyorField"
            Accessible.name: qsTr("Surveyor")
            Layout.fillWidth: true
            text: dialog.report.Surveyor
            onEditingFinished: dialog.report.Surveyor = text
        }
        Label { text: qsTr("Notes") }
        TextArea {
            objectName: "reportNotesField"
            Accessible.name: qsTr("Notes")
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.listRowHeight * 1.5
            wrapMode: TextEdit.Wrap
            text: dialog.report.Notes
            background: Rectangle {
                border.color: Theme.darkColor
            }
            onEditingFinished: dialog.report.Notes = text
        }
        Label { text: qsTr("Limits") }
        ComboBox {
            objectName: "reportLimitsBox"
            Accessible.name: qsTr("Limits of the report")
            Layout.fillWidth: true
            model: dialog.report.LimitsNames
            currentIndex: dialog.report.SelectedLimitsIndex
            onActivated: dialog.report.SelectedLimitsIndex = index
        }
        RowLayout {
            Layout.fillWidth: true

            Button {
                objectName: "reportShownButton"
                Accessible.name: qsTr("Report on the recording shown")
                Layout.fillWidth: true
                text: qsTr("Recording shown…")
                enabled: !dialog.report.Busy
                onClicked: dialog.report.reportOnRecordingShown()
            }
            Button {
                objectName: "reportFilesButton"
                Accessible.name: qsTr("Report on recordings chosen")
                Layout.fillWidth: true
                text: qsTr("Files…")
                enabled: !dialog.report.Busy
                onClicked: dialog.report.reportOnFiles()
            }
        }
        RowLayout {
            Layout.fillWidth: true

            BusyIndicator {
                objectName: "reportBusyIndicator"
                Layout.preferredHeight: Theme.exposureValueHeight
                Layout.preferredWidth: Theme.exposureValueHeight
                visible: dialog.report.Busy
                running: dialog.report.Busy
            }
            Label {
                objectName: "reportStatus"
                Layout.fillWidth: true
                wrapMode: Text.Wrap
                color: Theme.secondaryTextColor
                text: dialog.report.Status
            }
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight

            Button {
                objectName: "reportHelpButton"
                Accessible.name: qsTr("Help on the survey report")
                text: qsTr("Help")
                onClicked: dialog.report.displayHelp()
            }
            Button {
                objectName: "reportCloseButton"
                Accessible.name: qsTr("Close the report dialog")
                text: qsTr("Close")
                onClicked: dialog.close()
            }
        }
    }
}
