import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtCharts 2.15
import Tesvana.ViewModels 1.0
import "../Theme"
import "../Components"

// The meter: the newest block as numbers, maxima and a compass; the scrolling
// chart; the sample table; the alarm and replay panels and the recording bar.
Item {
    id: page

    // The page's one way to the program.
    property CMeterOperationViewModel viewModel: MeterOperationViewModel
    readonly property CChart2DMeterData chart: viewModel.MeterOperationDatasetViewModel.Chart2DData
    readonly property string unit: viewModel.DisplayUnitsText

    Item {
        anchors.fill: parent
        anchors.margins: Theme.spacing

        ColumnLayout {
            // Takes what the panels leave, whatever its content would like.
            anchors.left: parent.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.right: panels.left
            anchors.rightMargin: Theme.spacing
            clip: true

            TabBar {
                id: sections

                objectName: "meterSections"
                Layout.fillWidth: true
                Layout.maximumWidth: parent.width
                currentIndex: page.viewModel.SectionIndex
                onCurrentIndexChanged: page.viewModel.SectionIndex = currentIndex

                TabButton { objectName: "componentsTab"; Accessible.name: text; text: qsTr("Components") }
                TabButton { objectName: "plotTab"; Accessible.name: text; text: qsTr("Plot") }
                TabButton { objectName: "tableTab"; Accessible.name: text; text: qsTr("Table") }
            }

            StackLayout {
                Layout.fillWidth: true
                Layout.maximumWidth: parent.width
                Layout.fillHeight: true
                currentIndex: sections.currentIndex

                MeterComponents {
                    viewModel: page.viewModel
                }

                MeterPlot {
                    chart: page.chart
                    unit: page.unit
                }

                MeterTable {
                    model: page.viewModel.MeterOperationDatasetViewModel.TableData
                    unit: page.unit
                    uncertaintyUnit: page.viewModel.DisplayUncertaintyUnitsText
                }
            }

            Label {
                Layout.fillWidth: true
                visible: text.length > 0
                text: page.viewModel.CommentBlock
                elide: Text.ElideRight
            }

            Label {
                objectName: "recordingKept"
                Layout.fillWidth: true
                visible: text.length > 0
                text: page.viewModel.RecordingKeptText
            }

            Label {
                objectName: "instrumentNotice"
                Layout.fillWidth: true
                visible: text.length > 0
                text: page.viewModel.InstrumentNotice
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

            RecordingBar {
                Layout.fillWidth: true
                viewModel: page.viewModel
            }
        }

        // The panels scroll when the window is too low for all of them.
        ScrollView {
            id: panels

            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: Theme.parametersPanelWidth
            clip: true
            contentWidth: availableWidth

            ColumnLayout {
                width: panels.availableWidth

                MeasurementPanel {
                    Layout.fillWidth: true
                    measurement: page.viewModel.MeasurementParametersViewModel
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
                        onClicked: page.viewModel.loadParameters()
                    }
                }

                AlarmPanel {
                    Layout.fillWidth: true
                    alarm: page.viewModel.AlarmParametersViewModel
                }

                ReplayPanel {
                    Layout.fillWidth: true
                    replay: page.viewModel.ReplayParametersViewModel
                }
            }
        }
    }
}
