import QtQuick 2.15
import QtQuick.Controls 2.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The meter's chart: the fields plot with the averaging choice.
FieldsPlot {
    id: plot

    property CChart2DMeterData meterChart

    chart: meterChart

    Label { text: qsTr("Averaging") }
    ComboBox {
        objectName: "averagingModeBox"
        Accessible.name: qsTr("Averaging")
        model: plot.meterChart.AveragingModeNames
        currentIndex: plot.meterChart.AveragingModeIndex
        onActivated: {
            plot.meterChart.onAveragingModeIndexChange(index)
            plot.meterChart.saveAveragingParameter()
        }
    }
    SpinBox {
        objectName: "averagingCountBox"
        Accessible.name: qsTr("Averaging count")
        from: 1
        to: 1000
        editable: true
        value: plot.meterChart.AveragingCount
        enabled: plot.meterChart.AveragingModeIndex !== 0
        onValueModified: {
            plot.meterChart.onAveragingCountIndexChange(value)
            plot.meterChart.saveAveragingParameter()
        }
    }
}
