import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The limits file the page compares against: its name, choose another, clear it;
// and the exposure index against it.
GroupBox {
    id: panel

    property CMeasurementOperationViewModel viewModel
    property real exposureIndex: NaN

    title: qsTr("Limits")

    ColumnLayout {
        anchors.fill: parent

        Label {
            objectName: "limitsFileName"
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            elide: Text.ElideMiddle
            text: panel.viewModel.LimitsFileName.length > 0 ? panel.viewModel.LimitsFileName : qsTr("No limits file")
            color: panel.viewModel.LimitsFileName.length > 0 ? Theme.textColor : Theme.secondaryTextColor
        }

        RowLayout {
            Layout.fillWidth: true

            Button {
                objectName: "chooseLimitsButton"
                Accessible.name: qsTr("Choose a limits file")
                Layout.fillWidth: true
                text: qsTr("Choose…")
                onClicked: panel.viewModel.chooseLimitsFile()
            }
            Button {
                objectName: "clearLimitsButton"
                Accessible.name: qsTr("Clear the limits file")
                Layout.fillWidth: true
                text: qsTr("Clear")
                enabled: panel.viewModel.LimitsFileName.length > 0
                onClicked: panel.viewModel.clearLimitsFile()
            }
        }

        // Above 1 the field exceeds the limits.
        Rectangle {
            objectName: "exposureIndex"
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.bannerHeight
            radius: Theme.cornerRadius
            visible: !isNaN(panel.exposureIndex)
            color: panel.exposureIndex > 1 ? Theme.alarmErrorColor : Theme.alarmValidColor

            Label {
                anchors.centerIn: parent
                color: Theme.textOnColor
                text: qsTr("Exposure index") + " " + panel.exposureIndex.toPrecision(3)
            }
        }
    }
}
