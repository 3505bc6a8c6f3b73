import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The spectral peaks above the threshold, each with the exposure limit at its frequency.
ColumnLayout {
    id: table

    property CSpectrumOperationViewModel viewModel
    readonly property string unit: viewModel.DisplayUnitsText

    NumberField {
        objectName: "thresholdField"
        Layout.maximumWidth: Theme.sidePanelWidth
        label: qsTr("Peak threshold [dB above the median]")
        value: table.viewModel.Threshold
        onAccepted: table.viewModel.Threshold = number
    }

    TableTools {
        viewModel: table.viewModel
        model: table.viewModel.SpectrumOperationDatasetViewModel.TableData
        roles: ["Peak", "Frequency", "Amplitude", "ExposureLimit"]
        headings: [qsTr("Peak"), qsTr("Frequency [Hz]"), qsTr("Amplitude") + " [" + table.unit + "]",
            qsTr("Limit") + " [" + table.unit + "]"]
    }

    RowLayout {
        Repeater {
            model: [qsTr("Peak"), qsTr("Frequency [Hz]"), qsTr("Amplitude"), qsTr("Limit")]
            delegate: Label {
                Layout.preferredWidth: index === 0 ? Theme.nameColumnWidth : Theme.timestampColumnWidth / 2
                // Over their right-aligned numbers.
                horizontalAlignment: index === 0 ? Text.AlignLeft : Text.AlignRight
                text: modelData
                font.bold: true
            }
        }
    }

    ListView {
        objectName: "peakTable"
        Layout.fillWidth: true
        Layout.fillHeight: true
        clip: true
        cacheBuffer: 0
        model: table.viewModel.SpectrumOperationDatasetViewModel.TableData
        ScrollBar.vertical: ScrollBar {}

        delegate: RowLayout {
            Label {
                Layout.preferredWidth: Theme.nameColumnWidth
                text: Peak
            }
            Label {
                Layout.preferredWidth: Theme.timestampColumnWidth / 2
                horizontalAlignment: Text.AlignRight
                text: NumberFormat.number(Frequency, 6)
                font.family: Theme.numberFontFamily
            }
            Label {
                Layout.preferredWidth: Theme.timestampColumnWidth / 2
                horizontalAlignment: Text.AlignRight
                text: NumberFormat.field(Amplitude, table.unit, 5)
                font.family: Theme.numberFontFamily
            }
            Label {
                Layout.preferredWidth: Theme.timestampColumnWidth / 2
                horizontalAlignment: Text.AlignRight
                text: ExposureLimit > 0 ? NumberFormat.field(ExposureLimit, table.unit, 5) : "--"
                font.family: Theme.numberFontFamily
            }
        }
    }
}
