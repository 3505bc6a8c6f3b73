import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtCharts 2.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The scrolling ten-second chart of the seven components, with their visibility,
// the X and Y range sliders and the date and time of the window's ends. Items
// given to it join the row of controls above the chart.
ColumnLayout {
    id: plot

    property CChart2DFieldsData chart
    // The page, for commands on the chart ("Export image").
    property CMeasurementOperationViewModel pageViewModel
    property string unit
    default property alias tools: controls.data
    readonly property var componentNames: ["B", "B\u00b7B'", "Bx", "By", "Bz", "B-\u03b5", "B+\u03b5"]

    // Wraps in a narrow window.
    Flow {
        id: controls

        Layout.fillWidth: true
        spacing: Theme.spacing

        Repeater {
            model: plot.componentNames

            // Each box with its series' colour beside it: which line is B, which is Bz.
            delegate: Row {
                spacing: Theme.tinySpacing

                CheckBox {
                    id: componentBox

                    objectName: "showComponent" + index
                    Accessible.name: qsTr("Show") + " " + modelData
                    text: modelData
                    checked: true
                    onToggled: {
                        plot.chart.setComponantVisibility(index, checked, true)
                        chartView.series(index).visible = checked
                    }
                }
                Rectangle {
                    objectName: "componentColour" + index
                    anchors.verticalCenter: parent.verticalCenter
                    width: Theme.seriesSwatchWidth
                    height: Theme.seriesSwatchHeight
                    radius: Theme.tinySpacing
                    color: Theme.seriesColors[index]
                    opacity: componentBox.checked ? 1 : 0.3
                }
            }
        }
        ImageExportControls {
            visible: plot.pageViewModel !== null
            viewModel: plot.pageViewModel
            chart: chartView
        }
    }

    RowLayout {
        Layout.fillWidth: true
        Layout.fillHeight: true
        Layout.maximumWidth: plot.width
        spacing: 0

        // The Y range: the largest range seen so far, narrowed by hand (auto-scaling then stops).
        RangeSlider {
            id: ySlider

            objectName: "yRangeSlider"
            Accessible.name: qsTr("Y range")
            Layout.fillHeight: true
            orientation: Qt.Vertical
            enabled: plot.chart.MeasureResultCount > 0 && plot.chart.YminAllSignal < plot.chart.YmaxAllSignal
            from: enabled ? plot.chart.YminAllSignal : 0
            to: enabled ? plot.chart.YmaxAllSignal : 1
            first.onMoved: plot.chart.chooseYRange(first.value, second.value)
            second.onMoved: plot.chart.chooseYRange(first.value, second.value)
        }

        LineChart {
            id: chartView

            objectName: "meterChart"
            Layout.fillWidth: true
            Layout.fillHeight: true
            timeAxis: plot.chart.XAxisIsTime
            timeOrigin: plot.chart.XTimeOrigin
            // Wheel, drag, Shift+drag, click and double-click; +, -, arrows, Home, C, Esc.
            interactive: true
            Accessible.name: qsTr("Field chart")
            Accessible.role: Accessible.Chart
            onXRangeRequested: plot.chart.refreshLegendData(min, max)
            onYRangeRequested: plot.chart.chooseYRange(min, max)
            onAutomaticRangeRequested: {
                plot.chart.AutoScaling = true
                plot.chart.resetAxisYDelta()
                plot.chart.resetAxisXDelta(true)
            }

            ChartOverlay { chart: chartView }
            xAxis: ValueAxis {
                id: axisX

                tickCount: plot.chart.XTickCount
                titleText: plot.chart.XAxisTitle
            }
            yAxis: ValueAxis {
                id: axisY

                tickCount: plot.chart.YTickCount
                titleText: "[" + plot.unit + "]"
            }

            Component.onCompleted: {
                for (var c = 1; c <= 7; ++c)
                    chartView.addLineSeries(Theme.seriesColors[c - 1], plot.componentNames[c - 1])
                plot.refresh()
            }
        }
    }

    // The X range inside the data: the chart follows the newest ten seconds while data arrive.
    RangeSlider {
        id: xSlider

        objectName: "xRangeSlider"
        Accessible.name: qsTr("X range")
        Layout.fillWidth: true
        enabled: plot.chart.MeasureResultCount > 1
        from: plot.chart.MeasureResultMinX
        to: plot.chart.MeasureResultMaxX
        first.onMoved: plot.chart.refreshLegendData(first.value, second.value)
        second.onMoved: plot.chart.refreshLegendData(first.value, second.value)
    }

    // The sliders show the range in force, however it was set. (The model's
    // capitalised change signals cannot be handled in QML: these copies can.)
    // They follow after the sliders' own bounds have.
    readonly property var xRange: [plot.chart.Xmin, plot.chart.Xmax, plot.chart.MeasureResultMinX,
        plot.chart.MeasureResultMaxX]
    readonly property var yRange: [plot.chart.Ymin, plot.chart.Ymax, plot.chart.YminAllSignal,
        plot.chart.YmaxAllSignal]
    onXRangeChanged: Qt.callLater(function() { xSlider.setValues(plot.chart.Xmin, plot.chart.Xmax) })
    onYRangeChanged: Qt.callLater(function() { ySlider.setValues(plot.chart.Ymin, plot.chart.Ymax) })

    Connections {
        target: plot.chart
        function onRefreshLimitSliderX() { xSlider.setValues(plot.chart.Xmin, plot.chart.Xmax) }
        function onRefreshLimitSliderY() { ySlider.setValues(plot.chart.Ymin, plot.chart.Ymax) }
    }

    // The axes take their ranges in one step each (applyRanges), with the points or, when
    // only a range moved, once the model's changes of this turn are all in; a hidden
    // chart takes them when it is shown again (refresh).
    readonly property var axisRanges: [plot.chart.Xmin, plot.chart.Xmax, plot.chart.Ymin, plot.chart.Ymax]
    onAxisRangesChanged: Qt.callLater(plot.applyRanges)
    function applyRanges() {
        if (plot.visible)
            plot.chart.applyRanges(axisX, axisY)
    }

    // The chart takes the new points only while it is shown, all of a series at once.
    function refresh() {
        if (!plot.visible)
            return
        plot.applyRanges()
        for (var c = 1; c <= 7; ++c)
            plot.chart.updateSeries(chartView.series(c - 1), c)
    }
    onVisibleChanged: refresh()

    Component.onCompleted: plot.chart.seriesUpdated.connect(plot.refresh)

    RowLayout {
        Layout.fillWidth: true
        Layout.maximumWidth: plot.width

        Label { text: plot.chart.XminDate + " " + plot.chart.XminTime; font.family: Theme.numberFontFamily }
        Item { Layout.fillWidth: true }
        CheckBox {
            objectName: "autoScalingBox"
            Accessible.name: text
            text: qsTr("Auto-scaling")
            checked: plot.chart.AutoScaling
            onToggled: {
                plot.chart.AutoScaling = checked
                plot.chart.resetAxisYDelta()
            }
        }
        Button {
            objectName: "fullRangeButton"
            Accessible.name: text
            text: qsTr("Whole recording")
            onClicked: plot.chart.resetAxisXDelta(true)
        }
        CheckBox {
            objectName: "statisticsBox"
            Accessible.name: text
            text: qsTr("Statistics")
            checked: plot.chart.StatisticsShown
            onToggled: plot.chart.StatisticsShown = checked
        }
        Item { Layout.fillWidth: true }
        Label { text: plot.chart.XmaxDate + " " + plot.chart.XmaxTime; font.family: Theme.numberFontFamily }
    }

    // The cursors' readout, then min, max, mean, RMS, σ and peak-to-peak of each series
    // shown over the samples in the window.
    Label {
        objectName: "cursorText"
        Layout.fillWidth: true
        visible: text.length > 0
        text: chartView.cursorText
        font.family: Theme.numberFontFamily
        elide: Text.ElideRight
    }
    StatisticsStrip {
        Layout.fillWidth: true
        visible: plot.chart.StatisticsShown
        statistics: plot.chart.WindowStatistics
        names: plot.componentNames
        unit: plot.unit
    }
}
