import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Components"
import "../Theme"

// A field map: the newest point, the arrows in 3-D, the chart against time or
// position and the sample table; the mapper and source, alarm and replay panels.
OperationPage {
    id: page

    // The page's one way to the program.
    readonly property CMappingOperationViewModel mapping: MappingOperationViewModel

    viewModel: mapping
    measurement: mapping.MeasurementParametersViewModel
    blockComment: mapping.CommentBlock
    tabs: [
        { "name": "numericTab", "text": qsTr("Numeric") },
        { "name": "plotTab", "text": qsTr("Plot") },
        { "name": "tableTab", "text": qsTr("Table") },
        { "name": "vectorTab", "text": qsTr("Vectors") },
        { "name": "colourMapTab", "text": qsTr("Colour map") }
    ]
    panels: [
        MappingPanel {
            Layout.fillWidth: true
            mapping: page.mapping.MappingParametersViewModel
            locked: page.mapping.SessionInProgress
        },
        AlarmPanel {
            Layout.fillWidth: true
            alarm: page.mapping.AlarmParametersViewModel
        }
    ]

    MappingNumeric {
        viewModel: page.mapping
    }

    FieldsPlot {
        pageViewModel: page.mapping
        chart: page.mapping.MappingOperationDatasetViewModel.Chart2DData
        unit: page.mapping.DisplayUnitsText

        // A label and its box wrap together in a narrow window.
        RowLayout {
            Label { text: qsTr("X-axis represents:") }
            ComboBox {
                objectName: "horizontalAxisBox"
                Accessible.name: qsTr("X-axis represents")
                model: page.mapping.MappingOperationDatasetViewModel.Chart2DData.HorizontalAxisNames
                currentIndex: page.mapping.MappingOperationDatasetViewModel.Chart2DData.HorizontalAxisType
                onActivated: page.mapping.MappingOperationDatasetViewModel.Chart2DData.HorizontalAxisType = index
            }
        }
        AveragingControls {
            chart: page.mapping.MappingOperationDatasetViewModel.Chart2DData
        }
    }

    MeterTable {
        pageViewModel: page.mapping
        model: page.mapping.MappingOperationDatasetViewModel.TableData
        unit: page.mapping.DisplayUnitsText
        uncertaintyUnit: page.mapping.DisplayUncertaintyUnitsText
        positions: true
    }

    MappingVectors3D {
        viewModel: page.mapping
    }

    ColourMap {
        map: page.mapping.ColourMap
        unit: page.mapping.DisplayUnitsText
    }
}
