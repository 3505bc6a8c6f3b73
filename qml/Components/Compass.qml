import QtQuick 2.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The field's direction against the probe axis: the needle leans right or left by
// the share of the field along the axis, its length the share across it.
Item {
    id: compass

    property CMeterOperationViewModel viewModel
    readonly property real side: viewModel.UpdateLeftCompas ? -1 : 1

    Canvas {
        id: canvas

        anchors.centerIn: parent
        width: Math.min(parent.width, parent.height)
        height: width
        onPaint: {
            var ctx = getContext("2d")
            var r = Math.max(1, width / 2 - Theme.spacing)
            ctx.reset()
            ctx.strokeStyle = Theme.secondaryTextColor
            ctx.lineWidth = 2
            ctx.beginPath()
            ctx.arc(width / 2, height / 2, r, 0, 2 * Math.PI)
            ctx.stroke()
            if (compass.viewModel.ClearCompas || compass.viewModel.BLastBlock === 0)
                return
            var angle = Math.asin(Math.max(-1, Math.min(1, compass.viewModel.CompasWidth))) * compass.side
            ctx.strokeStyle = Theme.accentColor
            ctx.lineWidth = 4
            ctx.beginPath()
            ctx.moveTo(width / 2, height / 2)
            ctx.lineTo(width / 2 + r * Math.sin(angle), height / 2 - r * Math.cos(angle))
            ctx.stroke()
        }
    }

    // Any change of the needle repaints it.
    readonly property var needle: [viewModel.CompasWidth, viewModel.UpdateLeftCompas, viewModel.ClearCompas,
        viewModel.BLastBlock === 0]
    onNeedleChanged: canvas.requestPaint()
}
