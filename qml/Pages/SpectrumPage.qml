import QtQuick 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Components"

// The spectrum of the newest block, its peaks against the limits file, the alarm
// when the spectrum crosses them, and the recording bar.
OperationPage {
    id: page

    // The page's one way to the program.
    readonly property CSpectrumOperationViewModel spectrum: SpectrumOperationViewModel

    viewModel: spectrum
    measurement: spectrum.MeasurementParametersViewModel
    blockComment: spectrum.CommentOverAll
    tabs: [
        { "name": "plotTab", "text": qsTr("Plot") },
        { "name": "tableTab", "text": qsTr("Peaks") }
    ]
    panels: [
        LimitsPanel {
            Layout.fillWidth: true
            viewModel: page.spectrum
        },
        StateAlarmPanel {
            Layout.fillWidth: true
            alarm: page.spectrum.AlarmParametersViewModel
        }
    ]

    SpectrumPlot {
        viewModel: page.spectrum
    }

    PeakTable {
        viewModel: page.spectrum
    }
}
