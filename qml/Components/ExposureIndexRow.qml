import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "../Theme"

// One exposure index: its name, then the value for the block shown and the largest
// since the last reset, each red above 1 (the limits exceeded).
ColumnLayout {
    id: row

    property string name
    property real value: NaN
    property real largest: NaN

    spacing: Theme.tinySpacing

    Label {
        Layout.fillWidth: true
        elide: Text.ElideRight
        text: row.name
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: Theme.smallSpacing

        Repeater {
            model: [
                { "value": row.value, "prefix": "", "tip": qsTr("The block shown") },
                { "value": row.largest, "prefix": qsTr("max") + " ", "tip": qsTr("The largest since the last reset") }
            ]

            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: Theme.exposureValueHeight
                radius: Theme.cornerRadius
                color: isNaN(modelData.value) ? Theme.alarmUndefinedColor
                                              : modelData.value > 1 ? Theme.alarmErrorColor : Theme.alarmValidColor

                Label {
                    anchors.centerIn: parent
                    color: Theme.textOnColor
                    text: modelData.prefix + (isNaN(modelData.value) ? "–" : modelData.value.toPrecision(3))
                }

                ToolTip.visible: hover.hovered
                ToolTip.delay: Theme.toolTipDelay
                ToolTip.text: modelData.tip

                HoverHandler {
                    id: hover
                }
            }
        }
    }
}
