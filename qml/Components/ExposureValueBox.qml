import QtQuick 2.15
import QtQuick.Controls 2.15
import Tesvana.ViewModels 1.0
import QtQuick.Layouts 1.15
import "../Theme"

// One value of an exposure index: green, red above 1 (the limits exceeded), grey when
// there is none.
Rectangle {
    id: box

    property real value: NaN
    property string prefix
    property string tip

    Layout.fillWidth: true
    Layout.preferredHeight: Theme.exposureValueHeight
    radius: Theme.cornerRadius
    color: isNaN(box.value) ? Theme.alarmUndefinedColor
                            : box.value > 1 ? Theme.alarmErrorColor : Theme.alarmValidColor

    Label {
        anchors.centerIn: parent
        color: Theme.textOnColor
        text: box.prefix + (isNaN(box.value) ? "–" : NumberFormat.fixed(box.value, 3))
    }

    ToolTip.visible: hover.hovered
    ToolTip.delay: Theme.toolTipDelay
    ToolTip.text: box.tip

    HoverHandler {
        id: hover
    }
}
