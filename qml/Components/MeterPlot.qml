import QtQuick 2.15
import Tesvana.ViewModels 1.0

// The meter's chart: the fields plot with the averaging choice.
FieldsPlot {
    id: plot

    property CChart2DMeterData meterChart

    chart: meterChart

    AveragingControls {
        chart: plot.meterChart
    }
}
