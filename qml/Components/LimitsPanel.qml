import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The limits file the page compares against: its name, choose another, clear it;
// and the exposure of the block shown against it: the summation index, the weighted
// peak index (a standard's curve only), the frequency that adds most and the
// largest indices since the last reset. Above 1 the limits are exceeded. "Report…"
// writes the survey report of the recording shown or of files.
GroupBox {
    id: panel

    property CMeasurementOperationViewModel viewModel
    readonly property CExposureViewModel exposure: viewModel.Exposure

    title: qsTr("Limits")

    ColumnLayout {
        anchors.fill: parent

        Label {
            objectName: "limitsFileName"
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            elide: Text.ElideMiddle
            text: panel.viewModel.LimitsFileName.length > 0 ? panel.viewModel.LimitsFileName : qsTr("No limits file")
            color: panel.viewModel.LimitsFileName.length > 0 ? Theme.textColor : Theme.secondaryTextColor
        }

        RowLayout {
            Layout.fillWidth: true

            Button {
                objectName: "chooseLimitsButton"
                Accessible.name: qsTr("Choose a limits file")
                Layout.fillWidth: true
                text: qsTr("Choose…")
                onClicked: panel.viewModel.chooseLimitsFile()
            }
            Button {
                objectName: "clearLimitsButton"
                Accessible.name: qsTr("Clear the limits file")
                Layout.fillWidth: true
                text: qsTr("Clear")
                enabled: panel.viewModel.LimitsFileName.length > 0
                onClicked: panel.viewModel.clearLimitsFile()
            }
        }

        ColumnLayout {
            objectName: "exposure"
            Layout.fillWidth: true
            visible: panel.exposure.Applies
            spacing: Theme.smallSpacing

            Label {
                objectName: "exposureStandard"
                Layout.fillWidth: true
                Layout.maximumWidth: panel.availableWidth
                elide: Text.ElideRight
                font.bold: true
                text: panel.exposure.LimitsName
            }

            ExposureIndexRow {
                objectName: "summationIndex"
                Layout.fillWidth: true
                name: qsTr("Summation index")
                value: panel.exposure.SummationIndex
                largest: panel.exposure.MaxSummationIndex
            }

            ExposureIndexRow {
                objectName: "weightedPeakIndex"
                Layout.fillWidth: true
                visible: panel.exposure.WeightedPeakOffered
                name: qsTr("Weighted peak index")
                value: panel.exposure.WeightedPeakIndex
                largest: panel.exposure.MaxWeightedPeakIndex
            }

            Label {
                objectName: "dominantFrequency"
                Layout.fillWidth: true
                color: Theme.secondaryTextColor
                text: qsTr("Most from %1").arg(isNaN(panel.exposure.DominantFrequency)
                                                ? "–" : NumberFormat.number(panel.exposure.DominantFrequency, 4) + " Hz")
            }

            Button {
                objectName: "resetExposureButton"
                Accessible.name: qsTr("Reset the largest exposure indices")
                Layout.fillWidth: true
                text: qsTr("Reset largest")
                onClicked: panel.exposure.resetMaxima()
            }
        }

        Button {
            objectName: "reportButton"
            Accessible.name: qsTr("Write an exposure survey report")
            Layout.fillWidth: true
            text: qsTr("Report…")
            onClicked: reportDialog.open()
        }
    }

    ReportDialog {
        id: reportDialog

        report: panel.viewModel.Report
    }
}
