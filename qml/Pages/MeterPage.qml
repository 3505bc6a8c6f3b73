import QtQuick 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Components"

// The meter: the newest block as numbers, maxima, a compass and a 3-D arrow; the
// scrolling chart; the sample table; the alarm and replay panels and the recording bar.
OperationPage {
    id: page

    // The page's one way to the program.
    readonly property CMeterOperationViewModel meter: MeterOperationViewModel

    viewModel: meter
    measurement: meter.MeasurementParametersViewModel
    blockComment: meter.CommentBlock
    tabs: [
        { "name": "componentsTab", "text": qsTr("Components") },
        { "name": "plotTab", "text": qsTr("Plot") },
        { "name": "tableTab", "text": qsTr("Table") }
    ]
    panels: [
        AlarmPanel {
            Layout.fillWidth: true
            alarm: page.meter.AlarmParametersViewModel
        }
    ]

    MeterComponents {
        viewModel: page.meter
    }

    MeterPlot {
        pageViewModel: page.meter
        meterChart: page.meter.MeterOperationDatasetViewModel.Chart2DData
        unit: page.meter.DisplayUnitsText
    }

    MeterTable {
        pageViewModel: page.meter
        model: page.meter.MeterOperationDatasetViewModel.TableData
        unit: page.meter.DisplayUnitsText
        uncertaintyUnit: page.meter.DisplayUncertaintyUnitsText
    }
}
