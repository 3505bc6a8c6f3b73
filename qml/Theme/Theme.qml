pragma Singleton
import QtQuick 2.15

// Every colour, font and size of the pages: no page carries a literal of its own.
QtObject {
    // The program's style constants.
    readonly property color lightColor: "#f0f0f0"
    readonly property color darkColor: "#cdcdcd"
    readonly property color accentColor: "#0078d7"
    readonly property int parametersPanelWidth: 210
    readonly property int mainMenuWidth: 117
    readonly property int statusBarHeight: 50
    readonly property int compactMenuClosedWidth: 60
    readonly property int compactMenuOpenWidth: 180
    readonly property int mainMenuButtonHeight: 116
    readonly property int compactMenuButtonHeight: 56
    readonly property string letterFontFamily: "KVL Oxygen"
    readonly property string numberFontFamily: "Oxygen Mono"

    // Alarm states.
    readonly property color alarmValidColor: "#74ba63"
    readonly property color alarmErrorColor: "#a85151"
    readonly property color alarmUndefinedColor: "#ababab"
    readonly property color alarmUnderTargetColor: "#6CA6CD"
    readonly property color alarmOverTargetColor: "#FFD700"

    // Text on the light and dark backgrounds, and on the accent or alarm colours.
    readonly property color textColor: "#000000"
    // A chart being handled: the box of a zoom, the cursors.
    readonly property color selectionColor: "#0078d7"
    readonly property color selectionFillColor: "#260078d7"
    readonly property color cursorColor: "#e67e22"
    readonly property int cursorLineWidth: 1
    readonly property color secondaryTextColor: "#404040"
    readonly property color textOnColor: "#ffffff"

    // Spacing and the sizes of recurring elements.
    readonly property int smallSpacing: 4
    readonly property int spacing: 8
    readonly property int largeSpacing: 16
    readonly property int barHeight: 44
    readonly property int listRowHeight: 56
    readonly property int titleFontPixelSize: 20
    readonly property int smallFontPixelSize: 9
    readonly property int listMinimumWidth: 320
    readonly property int tinySpacing: 2
    readonly property int columnSpacing: 12
    readonly property int sidePanelWidth: 400
    readonly property int labelColumnWidth: 150
    readonly property int bannerHeight: 36
    readonly property int exposureValueHeight: 24
    readonly property int cornerRadius: 4

    // Numbers: the meter's values and the table's columns.
    readonly property int valueFontPixelSize: 22
    readonly property int timestampColumnWidth: 250
    readonly property int valueColumnWidth: 100
    // Four significant digits and a unit: the band table's seven columns fit the page beside its panel.
    readonly property int bandColumnWidth: 86
    readonly property int nameColumnWidth: 60
    readonly property int imageScaleBoxWidth: 72
    readonly property int dialogWidth: 420
    // 3-D labels are drawn in the scene and shrink with it.
    readonly property int axisTitle3DPointSize: 48

    // The chart's seven series: B, B.B', Bx, By, Bz, B-dB, B+dB.
    readonly property var seriesColors: ["#0078d7", "#8e44ad", "#d35400", "#27ae60", "#c0392b", "#b3babb", "#b3babb"]
    // The swatch of a series' colour beside its check box.
    readonly property int seriesSwatchWidth: 18
    readonly property int seriesSwatchHeight: 6
    // The charts' card, grid, frame, labels and lines.
    readonly property color chartBackgroundColor: "#ffffff"
    readonly property color chartGridColor: "#e4e4e4"
    readonly property color chartFrameColor: "#9a9a9a"
    readonly property int chartLabelPixelSize: 12
    readonly property real chartLineWidth: 1
    // The meter's compass.
    readonly property int compassRingWidth: 2
    readonly property int compassNeedleWidth: 4

    // The colour map's scale, low to high values.
    readonly property var colourMapStops: ["#30123b", "#4662d7", "#36aaf9", "#1ae4b6", "#72fe5e", "#c8ef34",
        "#faba39", "#f66b19", "#ca2a04", "#7a0403"]
    readonly property int colourScaleWidth: 24

    // The window: its smallest size, and the width up to which the compact menu replaces the main menu.
    readonly property int windowMinimumWidth: 954
    readonly property int windowMinimumHeight: 698
    readonly property int compactWindowWidth: 1024
    // The first size: the minimum and this much more each way, where the desktop has
    // room for it and a margin; otherwise the window opens maximised.
    readonly property int windowGrowth: 140
    readonly property int desktopMargin: 70
    // The new-version dialog's height (its width is the dialogs' own).
    readonly property int dialogHeight: 180
    // Tooltips wait this long (ms) before showing.
    readonly property int toolTipDelay: 600
    // The log dialog, at most (it shrinks with the window).
    readonly property int logDialogWidth: 820
    readonly property int logDialogHeight: 560
}
