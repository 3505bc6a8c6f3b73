import QtQuick 2.15
import QtTest 1.15
import "../../qml/Components"

// The recording bar: each button is shown exactly when the view model says so and
// does what it names; measuring waits for parameters the instrument can use; "Recent"
// offers the recordings that are still there.
TestCase {
    id: testCase

    name: "RecordingBar"
    when: windowShown
    // A test case is hidden unless told: the buttons' visibility is what is tested here.
    visible: true
    width: 900
    height: 200

    Component {
        id: barComponent

        RecordingBar {}
    }

    readonly property var buttons: [
        { name: "resumeButton", shown: "ResumeVisible" },
        { name: "stepButton", shown: "StepVisible" },
        { name: "holdButton", shown: "HoldVisible" },
        { name: "recordButton", shown: "RecordVisible" },
        { name: "stopButton", shown: "StopVisible" },
        { name: "endButton", shown: "EndVisible" },
        { name: "startButton", shown: "PlaybackVisible" },
        { name: "loadButton", shown: "LoadVisible" },
        { name: "saveButton", shown: "SaveVisible" },
        { name: "exportHdf5Button", shown: "ExportHdf5Visible" }
    ]

    function make() {
        var viewModel = fixtures.meter()
        var bar = createTemporaryObject(barComponent, testCase, { viewModel: viewModel })
        verify(bar !== null)
        return bar
    }

    function button(bar, name) {
        var found = findChild(bar, name)
        verify(found !== null, name)
        return found
    }

    // The view model tells of its actions on the display's beat: the buttons follow within it.
    function checkButtons(bar) {
        for (var i = 0; i < buttons.length; ++i)
            tryCompare(button(bar, buttons[i].name), "visible", bar.viewModel[buttons[i].shown], 1000,
                       buttons[i].name)
    }

    // A click as a user gives it: on the button where the layout has placed it.
    function click(bar, name) {
        var b = button(bar, name)
        tryVerify(function() { return b.visible && b.width > 0 }, 1000, name)
        waitForRendering(bar)
        mouseClick(b)
    }

    // Through a recording and its end: the buttons follow the view model at every step,
    // and each does what it names. Without an instrument only a recording's files are offered.
    function test_buttonsFollowTheRecording() {
        var bar = make()
        checkButtons(bar)
        verify(button(bar, "loadButton").visible)
        verify(!button(bar, "recordButton").visible)
        verify(!button(bar, "resumeButton").visible)

        bar.viewModel.record()
        fixtures.feed(3)
        checkButtons(bar)
        verify(button(bar, "stopButton").visible)
        verify(!button(bar, "saveButton").visible)

        click(bar, "stopButton")
        checkButtons(bar)
        verify(!button(bar, "stopButton").visible)
        verify(button(bar, "saveButton").visible)
        verify(button(bar, "endButton").visible)
        verify(button(bar, "startButton").visible)

        // End asks before the unsaved recording goes (the prompt double answers yes).
        click(bar, "endButton")
        checkButtons(bar)
        verify(!button(bar, "saveButton").visible)
        compare(fixtures.asked().length, 1)
    }

    // Measuring takes parameters the instrument can use: Resume and Record are shown but
    // not enabled while the parameters are not valid; the other buttons stay enabled.
    function test_measuringWaitsForValidParameters() {
        var bar = make()
        compare(button(bar, "resumeButton").enabled, bar.viewModel.ParametersValid)
        compare(button(bar, "recordButton").enabled, bar.viewModel.ParametersValid)
        verify(button(bar, "loadButton").enabled)
    }

    // "Recent" is offered only with a recording to offer, and lists the ones still there.
    function test_recentOffersTheFilesThatAreThere() {
        var bar = make()
        verify(!button(bar, "recentButton").visible)
        fixtures.recentFile("kept.xml")
        tryVerify(function() { return button(bar, "recentButton").visible })
        compare(bar.viewModel.RecentFiles.length, 1)
        verify(bar.viewModel.RecentFiles[0].indexOf("kept.xml") > 0)

        mouseClick(button(bar, "recentButton"))
        var menu = findChild(bar, "recentMenu")
        tryVerify(function() { return menu.opened })
        var item = findChild(menu.contentItem, "recentFile0")
        verify(item !== null)
        compare(item.text, "kept.xml")
        verify(findChild(menu.contentItem, "recentFile1") === null)
        menu.close()
    }
}
