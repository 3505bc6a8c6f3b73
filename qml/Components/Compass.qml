import QtQuick 2.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The field's direction against the probe axis: the needle leans right or left by
// the share of the field along the axis, its length the share across it.
Item {
    id: compass

    property CMeterOperationViewModel viewModel
    readonly property real side: viewModel.UpdateLeftCompas ? -1 : 1

    // A ring and a needle of plain items: a turn of the needle moves one rectangle, where a
    // canvas would paint and upload its whole image again.
    Rectangle {
        id: dial

        objectName: "compassDial"
        anchors.centerIn: parent
        width: Math.max(2, Math.min(parent.width, parent.height) - 2 * Theme.spacing)
        height: width
        radius: width / 2
        color: "transparent"
        border.color: Theme.secondaryTextColor
        border.width: Theme.compassRingWidth
    }
    Rectangle {
        objectName: "compassNeedle"
        visible: !compass.viewModel.ClearCompas && compass.viewModel.BLastBlock !== 0
        // From the centre up, turned about the centre.
        x: dial.x + dial.width / 2 - width / 2
        y: dial.y + dial.height / 2 - height
        width: Theme.compassNeedleWidth
        height: dial.width / 2
        color: Theme.accentColor
        antialiasing: true
        transformOrigin: Item.Bottom
        rotation: Math.asin(Math.max(-1, Math.min(1, compass.viewModel.CompasWidth))) * compass.side * 180 / Math.PI
    }
}
