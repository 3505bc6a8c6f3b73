import QtQuick 2.15
import QtQuick.Controls 2.15
import Tesvana.ViewModels 1.0
import "../Theme"

// "Export image" and the scale of an exported PNG, beside a chart.
Row {
    id: controls

    property CMeasurementOperationViewModel viewModel
    property Item chart

    spacing: Theme.tinySpacing

    Button {
        objectName: "exportImageButton"
        Accessible.name: text
        text: qsTr("Export image")
        onClicked: controls.viewModel.exportChartImage(controls.chart)
    }
    ComboBox {
        objectName: "imageScaleBox"
        Accessible.name: qsTr("Image scale")
        ToolTip.visible: hovered
        ToolTip.text: qsTr("Size of an exported PNG image")
        width: Theme.imageScaleBoxWidth
        model: ["1\u00d7", "2\u00d7", "4\u00d7"]
        currentIndex: controls.viewModel ? [1, 2, 4].indexOf(controls.viewModel.ImageScale) : 1
        onActivated: controls.viewModel.ImageScale = [1, 2, 4][index]
    }
}
