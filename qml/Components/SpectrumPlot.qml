import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtCharts 2.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The amplitude spectrum on a logarithmic axis, the limits file as a step line over
// it, the quantity choice and the frequency range slider.
ColumnLayout {
    id: plot

    property CSpectrumOperationViewModel viewModel
    readonly property CChart2DSpectrumData chart: viewModel.SpectrumOperationDatasetViewModel.FFTChart2DData

    RowLayout {
        Layout.fillWidth: true
        Layout.maximumWidth: plot.width

        Label { text: qsTr("Quantity") }
        ComboBox {
            objectName: "spectrumFieldBox"
            Accessible.name: qsTr("Quantity")
            model: plot.viewModel.FieldNames
            currentIndex: plot.viewModel.SelectedFieldIndex
            onActivated: plot.viewModel.SelectedFieldIndex = index
        }
        Item { Layout.fillWidth: true }
        ImageExportControls {
            viewModel: plot.viewModel
            chart: chartView
        }
    }

    LineChart {
        id: chartView

        objectName: "spectrumChart"
        Layout.fillWidth: true
        Layout.fillHeight: true
        // The frequencies zoom and pan (wheel, drag, Shift+drag, keys); the amplitudes fit the spectrum.
        interactive: true
        Accessible.name: qsTr("Spectrum chart")
        Accessible.role: Accessible.Chart
        onXRangeRequested: plot.chart.refreshAxisX(min, max)
        onAutomaticRangeRequested: plot.chart.refreshAxisX(plot.chart.MinFrequency, plot.chart.MaxFrequency)

        ChartOverlay { chart: chartView }
        xAxis: ValueAxis {
            id: axisX

            min: plot.chart.Xmin
            max: plot.chart.Xmax
            tickCount: 5
            titleText: qsTr("Frequency [Hz]")
        }
        yAxis: LogValueAxis {
            id: axisY

            // The range is set with the spectrum's points (updateSeries).
            labelFormat: "%.0e"
            titleText: "[" + plot.viewModel.DisplayUnitsText + "]"
        }

        Component.onCompleted: {
            chartView.addLineSeries(Theme.seriesColors[0], plot.viewModel.FieldNames[plot.viewModel.SelectedFieldIndex])
            chartView.addLineSeries(Theme.alarmErrorColor, qsTr("Limits"))
            plot.refresh()
        }
    }

    // The series take their points in one replacement, only while shown.
    function refresh() {
        if (!plot.visible || chartView.count < 2)
            return
        chartView.series(0).name = plot.viewModel.FieldNames[plot.viewModel.SelectedFieldIndex]
        plot.chart.updateSeries(chartView.series(0), axisY)
        plot.chart.updateLimitSeries(chartView.series(1))
    }
    onVisibleChanged: refresh()
    Component.onCompleted: plot.chart.seriesUpdated.connect(plot.refresh)

    Label {
        objectName: "cursorText"
        Layout.fillWidth: true
        visible: text.length > 0
        text: chartView.cursorText
        font.family: Theme.numberFontFamily
        elide: Text.ElideRight
    }

    RangeSlider {
        id: xSlider

        objectName: "frequencyRangeSlider"
        Accessible.name: qsTr("Frequency range")
        Layout.fillWidth: true
        enabled: plot.chart.DownsampledSignalLength > 1
        from: plot.chart.MinFrequency
        to: plot.chart.MaxFrequency
        first.onMoved: plot.chart.refreshAxisX(first.value, second.value)
        second.onMoved: plot.chart.refreshAxisX(first.value, second.value)
    }

    // The slider shows the range in force (the model's change signals are
    // capitalised, which QML cannot handle: this copy can).
    // After the slider's own bounds have followed.
    readonly property var xRange: [plot.chart.Xmin, plot.chart.Xmax, plot.chart.MinFrequency, plot.chart.MaxFrequency]
    onXRangeChanged: Qt.callLater(function() { xSlider.setValues(plot.chart.Xmin, plot.chart.Xmax) })
}
