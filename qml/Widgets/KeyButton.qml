import QtQuick 2.15
import QtQuick.Controls 2.15
import "../Theme"

// A button that a key presses too, only while the button is there to press; the
// key is shown in its tooltip.
Button {
    id: button

    property string key
    // What the tooltip says before the key: the button's text unless told otherwise.
    property string toolTipText: text

    Accessible.name: text
    ToolTip.visible: hovered
    ToolTip.delay: Theme.toolTipDelay
    ToolTip.text: toolTipText + " (" + shortcut.nativeText + ")"

    Shortcut {
        id: shortcut

        sequence: button.key
        enabled: button.visible && button.enabled
        onActivated: button.clicked()
    }
}
