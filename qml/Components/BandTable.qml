import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The newest block's figure of merit per frequency band, with each band's limit.
ColumnLayout {
    id: table

    property CAcAnalysisOperationViewModel viewModel
    readonly property string unit: viewModel.DisplayUnitsText

    TableTools {
        viewModel: table.viewModel
        model: table.viewModel.AcAnalysisOperationDatasetViewModel.TableData
        roles: ["FrequencyBand", "B", "BBprime", "Bx", "By", "Bz", "ExposureLimit"]
        headings: [qsTr("Band [Hz]"), "B [" + table.unit + "]", "B\u00b7B' [" + table.unit + "]", "Bx [" + table.unit + "]",
            "By [" + table.unit + "]", "Bz [" + table.unit + "]", qsTr("Limit") + " [" + table.unit + "]"]
    }

    RowLayout {
        Repeater {
            model: [qsTr("Band [Hz]"), "B", "B\u00b7B'", "Bx", "By", "Bz", qsTr("Limit")]
            delegate: Label {
                Layout.preferredWidth: index === 0 ? Theme.labelColumnWidth : Theme.bandColumnWidth
                // Over their right-aligned numbers.
                horizontalAlignment: index === 0 ? Text.AlignLeft : Text.AlignRight
                text: modelData
                font.bold: true
            }
        }
    }

    ListView {
        objectName: "bandTable"
        Layout.fillWidth: true
        Layout.fillHeight: true
        clip: true
        cacheBuffer: 0
        model: table.viewModel.AcAnalysisOperationDatasetViewModel.TableData
        ScrollBar.vertical: ScrollBar {}

        delegate: RowLayout {
            Label {
                Layout.preferredWidth: Theme.labelColumnWidth
                text: FrequencyBand
                font.family: Theme.numberFontFamily
            }
            Repeater {
                model: [B, BBprime, Bx, By, Bz]
                delegate: Label {
                    Layout.preferredWidth: Theme.bandColumnWidth
                    horizontalAlignment: Text.AlignRight
                    text: NumberFormat.field(modelData, table.unit, 4)
                    font.family: Theme.numberFontFamily
                }
            }
            Label {
                Layout.preferredWidth: Theme.bandColumnWidth
                horizontalAlignment: Text.AlignRight
                text: typeof ExposureLimit === "number" ? NumberFormat.field(ExposureLimit, table.unit, 4) : "--"
                font.family: Theme.numberFontFamily
            }
        }
    }

    Label {
        objectName: "aboveRangeText"
        Layout.fillWidth: true
        visible: text.length > 0
        text: table.viewModel.AcAnalysisOperationDatasetViewModel.TableData.AboveRangeText
        color: Theme.secondaryTextColor
        wrapMode: Text.WordWrap
    }
}
