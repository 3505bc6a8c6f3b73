import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Components"
import "../Theme"

// The figure of merit of every block over time, the newest block's figures per band
// against the limits file, the alarm when a band exceeds its limit, and the recording bar.
OperationPage {
    id: page

    // The page's one way to the program.
    readonly property CAcAnalysisOperationViewModel analysis: AcAnalysisOperationViewModel

    viewModel: analysis
    measurement: analysis.MeasurementParametersViewModel
    blockComment: analysis.CommentOverAll
    tabs: [
        { "name": "plotTab", "text": qsTr("Plot") },
        { "name": "tableTab", "text": qsTr("Bands") }
    ]
    panels: [
        LimitsPanel {
            Layout.fillWidth: true
            viewModel: page.analysis
        },
        StateAlarmPanel {
            id: alarmPanel

            Layout.fillWidth: true
            alarm: page.analysis.AlarmParametersViewModel

            Label { text: qsTr("Axis") }
            ComboBox {
                objectName: "alarmAxisBox"
                Accessible.name: qsTr("Alarm axis")
                Layout.fillWidth: true
                Layout.maximumWidth: alarmPanel.availableWidth
                model: page.analysis.AlarmParametersViewModel.AxisNames
                currentIndex: page.analysis.AlarmParametersViewModel.SelectedAxisIndex
                onActivated: page.analysis.AlarmParametersViewModel.SelectedAxisIndex = index
            }
        }
    ]

    FieldsPlot {
        pageViewModel: page.analysis
        chart: page.analysis.AcAnalysisOperationDatasetViewModel.Chart2DData
        unit: page.analysis.DisplayUnitsText

        // A label and its box wrap together in a narrow window.
        RowLayout {
            Label { text: qsTr("Figure of merit") }
            ComboBox {
                objectName: "figureOfMeritBox"
                implicitWidth: Theme.labelColumnWidth + Theme.valueColumnWidth
                Accessible.name: qsTr("Figure of merit")
                model: page.analysis.FigureOfMeritNames
                currentIndex: page.analysis.SelectedFigureOfMeritIndex
                onActivated: page.analysis.SelectedFigureOfMeritIndex = index
            }
        }
    }

    BandTable {
        viewModel: page.analysis
    }
}
