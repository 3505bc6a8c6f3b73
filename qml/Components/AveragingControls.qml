import QtQuick 2.15
import QtQuick.Controls 2.15
import "../Theme"

// The averaging choice of a chart (Off, Exponential, Moving) and its count, kept in
// the settings. Any chart model with the averaging invokables will do.
Row {
    id: controls

    property QtObject chart

    spacing: Theme.spacing

    Label {
        anchors.verticalCenter: parent.verticalCenter
        text: qsTr("Averaging")
    }
    ComboBox {
        objectName: "averagingModeBox"
        Accessible.name: qsTr("Averaging")
        model: controls.chart.AveragingModeNames
        currentIndex: controls.chart.AveragingModeIndex
        onActivated: {
            controls.chart.onAveragingModeIndexChange(index)
            controls.chart.saveAveragingParameter()
        }
    }
    SpinBox {
        objectName: "averagingCountBox"
        Accessible.name: qsTr("Averaging count")
        from: 1
        to: 1000
        editable: true
        value: controls.chart.AveragingCount
        enabled: controls.chart.AveragingModeIndex !== 0
        onValueModified: {
            controls.chart.onAveragingCountIndexChange(value)
            controls.chart.saveAveragingParameter()
        }
    }
}
