import QtQuick 2.15
import QtTest 1.15
import "../../qml/Components"

// The mapping panel's grid: a number typed in a grid field (a comma for the point too)
// goes to the axis; text that is no number, an empty field or a grid the axis refuses
// leaves the axis as it was, shows its value again and says why. Locked during a run.
TestCase {
    id: testCase

    name: "MappingPanel"
    when: windowShown
    visible: true
    width: 400
    height: 600

    Component {
        id: panelComponent

        MappingPanel {
            width: 360
        }
    }

    function make() {
        var panel = createTemporaryObject(panelComponent, testCase, { mapping: fixtures.mapping() })
        verify(panel !== null)
        return panel
    }

    function field(panel, name) {
        var found = findChild(panel, name)
        verify(found !== null, name)
        return found
    }

    function enter(input, text) {
        input.text = text
        input.editingFinished()
    }

    function test_numbersGoToTheAxis_data() {
        return [
            { tag: "start, point", name: "grid0Start", text: "-1.5", axis: "X", property: "Start", number: -1.5 },
            { tag: "start, comma", name: "grid0Start", text: "-1,5", axis: "X", property: "Start", number: -1.5 },
            { tag: "stop of Y", name: "grid1Stop", text: " 20 ", axis: "Y", property: "Stop", number: 20 },
            { tag: "step of Z", name: "grid2Step", text: "0.25", axis: "Z", property: "StepSize", number: 0.25 }
        ]
    }

    function test_numbersGoToTheAxis(data) {
        var panel = make()
        verify(panel.mapping.IsCartesianSource)
        enter(field(panel, data.name), data.text)
        compare(panel.mapping.Grid[data.axis][data.property], data.number)
        compare(panel.mapping.InputError, "")
        verify(!field(panel, "mappingInputError").visible)
    }

    function test_refusedTextShowsTheValueAgain_data() {
        return [
            { tag: "text", text: "abc" },
            { tag: "empty", text: "" },
            { tag: "zero step", text: "0", name: "grid0Step" },
            { tag: "start above the stop", text: "5" }
        ]
    }

    function test_refusedTextShowsTheValueAgain(data) {
        var panel = make()
        var name = data.name || "grid0Start"
        var input = field(panel, name)
        var shown = input.text
        var before = [panel.mapping.Grid.X.Start, panel.mapping.Grid.X.Stop, panel.mapping.Grid.X.StepSize]
        enter(input, data.text)
        compare(input.text, shown)
        compare([panel.mapping.Grid.X.Start, panel.mapping.Grid.X.Stop, panel.mapping.Grid.X.StepSize], before)
        verify(panel.mapping.InputError.length > 0)
        tryVerify(function() { return field(panel, "mappingInputError").visible })
    }

    // A mapping file in place of the grid: the grid goes, the file button comes and asks.
    function test_mappingFileReplacesTheGrid() {
        var panel = make()
        verify(field(panel, "gridText").visible)
        panel.mapping.SelectedSourceIndex = 1
        verify(!panel.mapping.IsCartesianSource)
        tryVerify(function() { return findChild(panel, "grid0Start") === null })
        verify(!field(panel, "gridText").visible)
        var choose = field(panel, "chooseMappingFileButton")
        verify(choose.visible)
        mouseClick(choose)
        compare(fixtures.asked().length, 1)
    }

    function test_lockedDuringARun() {
        var panel = make()
        verify(field(panel, "grid0Start").enabled)
        panel.locked = true
        verify(!field(panel, "grid0Start").enabled)
        verify(!field(panel, "mapperBox").enabled)
    }
}
