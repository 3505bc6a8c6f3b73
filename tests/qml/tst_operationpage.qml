import QtQuick 2.15
import QtTest 1.15
import "../../qml/Components"

// The frame of the measurement pages: the section tabs and the view model's section
// follow each other; a wide window shows the panels beside the page, a narrow one folds
// them into a strip whose button asks the window to open them, and a click beside open
// panels asks to close them; the parameter file commands wait while measuring.
TestCase {
    id: testCase

    name: "OperationPage"
    when: windowShown
    visible: true
    width: 1000
    height: 700

    Component {
        id: pageComponent

        OperationPage {
            anchors.fill: parent
            tabs: [{ "name": "firstTab", "text": "First" }, { "name": "secondTab", "text": "Second" }]

            Item { objectName: "firstSection" }
            Item { objectName: "secondSection" }

            panels: Rectangle {
                objectName: "ownPanel"
                implicitHeight: 40
            }
        }
    }

    Component {
        id: spyComponent

        SignalSpy {}
    }

    function make(properties) {
        var viewModel = fixtures.meter()
        properties.viewModel = viewModel
        properties.measurement = viewModel.MeasurementParametersViewModel
        var page = createTemporaryObject(pageComponent, testCase, properties)
        verify(page !== null)
        waitForRendering(page)
        return page
    }

    function child(page, name) {
        var found = findChild(page, name)
        verify(found !== null, name)
        return found
    }

    function test_sectionsFollowTheViewModel() {
        var page = make({})
        compare(page.viewModel.SectionIndex, 0)
        verify(child(page, "firstSection").visible)
        verify(!child(page, "secondSection").visible)

        mouseClick(child(page, "secondTab"))
        compare(page.viewModel.SectionIndex, 1)
        tryVerify(function() { return child(page, "secondSection").visible })
        verify(!child(page, "firstSection").visible)

        page.viewModel.SectionIndex = 0
        compare(child(page, "pageSections").currentIndex, 0)
        tryVerify(function() { return child(page, "firstSection").visible })
    }

    function test_wideWindowShowsThePanels() {
        var page = make({ compact: false })
        verify(child(page, "ownPanel").visible)
        verify(child(page, "saveParametersButton").visible)
        verify(!child(page, "parameterMenuToggle").visible)
    }

    function test_narrowWindowFoldsThePanels() {
        var page = make({ compact: true, panelsOpen: false })
        var asked = createTemporaryObject(spyComponent, testCase, { target: page, signalName: "panelsOpenRequested" })
        verify(!child(page, "ownPanel").visible)
        var toggle = child(page, "parameterMenuToggle")
        verify(toggle.visible)

        mouseClick(toggle)
        compare(asked.count, 1)
        compare(asked.signalArguments[0][0], true)
        verify(!child(page, "ownPanel").visible) // the window decides

        page.panelsOpen = true
        tryVerify(function() { return child(page, "ownPanel").visible })
        // A click beside the open panels asks to close them.
        mouseClick(page, 10, page.height / 2)
        compare(asked.count, 2)
        compare(asked.signalArguments[1][0], false)
    }

    // A load changes what the instrument does: not while measuring.
    function test_parameterLoadWaitsWhileMeasuring() {
        var page = make({})
        verify(child(page, "loadParametersButton").enabled)
        fixtures.measuring(true)
        verify(!child(page, "loadParametersButton").enabled)
        verify(child(page, "saveParametersButton").enabled)
        fixtures.measuring(false)
        verify(child(page, "loadParametersButton").enabled)
    }
}
