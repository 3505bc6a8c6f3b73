import QtQuick 2.15
import QtTest 1.15
import "../../qml/Components"

// A number entry: numbers (a comma for the point too) within the bounds are accepted;
// text, numbers out of bounds and fractions where whole numbers are wanted are refused
// with the reason, and the field shows the value again and follows it.
TestCase {
    id: testCase

    name: "NumberField"
    when: windowShown
    width: 300
    height: 200

    Component {
        id: fieldComponent

        NumberField {
            objectName: "n"
            label: "Rate"
        }
    }

    Component {
        id: spyComponent

        SignalSpy {}
    }

    function make(properties) {
        var field = createTemporaryObject(fieldComponent, testCase, properties)
        verify(field !== null)
        var input = findChild(field, "nInput")
        verify(input !== null)
        var spy = createTemporaryObject(spyComponent, testCase, { target: field, signalName: "accepted" })
        return { field: field, input: input, spy: spy }
    }

    function enter(input, text) {
        input.text = text
        input.editingFinished()
    }

    function test_acceptsNumbers_data() {
        return [
            { tag: "integer", text: "7", number: 7 },
            { tag: "decimal point", text: "7.5", number: 7.5 },
            { tag: "decimal comma", text: "7,5", number: 7.5 },
            { tag: "spaces", text: "  3 ", number: 3 },
            { tag: "the bound", text: "10", number: 10 }
        ]
    }

    function test_acceptsNumbers(data) {
        var t = make({ value: 5, minimum: 0, maximum: 10 })
        enter(t.input, data.text)
        compare(t.spy.count, 1)
        compare(t.spy.signalArguments[0][0], data.number)
        compare(t.field.refusal, "")
    }

    function test_refusesWithTheReason_data() {
        return [
            { tag: "text", text: "abc", whole: false, reason: "Not a number: abc" },
            { tag: "empty", text: "  ", whole: false, reason: "Not a number:   " },
            { tag: "above", text: "11", whole: false, reason: "A number from 0 to 10" },
            { tag: "below", text: "-1", whole: false, reason: "A number from 0 to 10" },
            { tag: "fraction", text: "2.5", whole: true, reason: "A whole number from 0 to 10" }
        ]
    }

    function test_refusesWithTheReason(data) {
        var t = make({ value: 5, minimum: 0, maximum: 10, wholeNumber: data.whole })
        enter(t.input, data.text)
        compare(t.spy.count, 0)
        compare(t.field.refusal, data.reason)
        // The value is shown again, and followed from then on.
        compare(t.input.text, "5")
        t.field.value = 6
        compare(t.input.text, "6")
        // A good number clears the reason.
        enter(t.input, "4")
        compare(t.field.refusal, "")
        compare(t.spy.count, 1)
    }

    function test_followsTheValueAfterAnEntry() {
        var t = make({ value: 1 })
        enter(t.input, "2")
        compare(t.spy.count, 1)
        t.field.value = 3
        compare(t.input.text, "3")
    }
}
