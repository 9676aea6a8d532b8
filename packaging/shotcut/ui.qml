// The controls of the frei0r filter "nimbrel" in Shotcut, in the effect's
// order with the blending group last. Every control is a row of the tables
// below: the filter's parameter name, the label, and how the shown value
// maps onto the filter's own value: filter = (shown + offset) / factor.
import QtQuick 2.12
import QtQuick.Controls 2.12
import QtQuick.Layouts 1.12
import Shotcut.Controls 1.0 as Shotcut

Item {
    id: root

    readonly property var choices: ({
        "process": ["RGB", "RGBA"],
        "matte": ["None", "Source Luminance", "Source Inverse Luminance", "Source Alpha",
                  "Source Inverse Alpha"],
        "blend_method": ["None", "Mix", "Add", "Difference", "Subtract Source", "Subtract Effect",
                         "Darken", "Lighten", "Colour", "Luminosity", "Hue", "Saturation", "Screen",
                         "Multiply", "Overlay", "Exclusion", "ColourBurn", "ColourDodge", "HardLight",
                         "LinearBurn", "LinearDodge", "LinearLight", "SoftLight", "Composite Effect",
                         "Composite Source"]
    })
    readonly property var rainControls: [
        {name: "process", label: qsTr("Process"), choice: "RGB"},
        {name: "drop_length", label: qsTr("Drop Length"), min: 0, max: 10000, def: 50, factor: 500, offset: 0, decimals: 1, suffix: " px"},
        {name: "direction", label: qsTr("Rain Direction"), min: -180, max: 180, def: -90, factor: 360, offset: 180, decimals: 1, suffix: " °"},
        {name: "intensity", label: qsTr("Rain Intensity"), min: 0, max: 5000, def: 100, factor: 100, offset: 0, decimals: 1, suffix: " %"},
        {name: "density", label: qsTr("Rain Density"), min: 0.01, max: 5000, def: 60, factor: 100, offset: 0, decimals: 2, suffix: " %"},
        {name: "diffusion_min", label: qsTr("Diffusion Min"), min: 0, max: 100, def: 90, factor: 100, offset: 0, decimals: 1, suffix: " %"},
        {name: "diffusion_max", label: qsTr("Diffusion Max"), min: 0, max: 100, def: 100, factor: 100, offset: 0, decimals: 1, suffix: " %"},
        {name: "matte", label: qsTr("Matte"), choice: "None"},
        {name: "seed", label: qsTr("Seed"), min: 1, max: 5000, def: 13, seed: true, decimals: 0, suffix: ""}
    ]
    readonly property var blendingControls: [
        {name: "blend_method", label: qsTr("Method"), choice: "None"},
        {name: "blend_mix", label: qsTr("Blend"), min: 0, max: 100, def: 50, factor: 100, offset: 0, decimals: 1, suffix: " %"},
        {name: "effect_gain", label: qsTr("Effect Gain"), min: 0, max: 5000, def: 100, factor: 200, offset: 0, decimals: 1, suffix: " %"},
        {name: "source_gain", label: qsTr("Source Gain"), min: 0, max: 5000, def: 100, factor: 200, offset: 0, decimals: 1, suffix: " %"}
    ]

    readonly property var motionControls: [
        {name: "fall_speed", label: qsTr("Fall Speed"), min: 0, max: 2000, def: 0, factor: 100, offset: 0, decimals: 1, suffix: " px"},
        {name: "wind_variation", label: qsTr("Wind Variation"), min: 0, max: 180, def: 0, factor: 90, offset: 0, decimals: 1, suffix: " °"},
        {name: "gust_rate", label: qsTr("Gust Rate"), min: 0, max: 250, def: 4, factor: 25, offset: 0, decimals: 1, suffix: ""},
        {name: "depth_layers", label: qsTr("Depth Layers"), min: 1, max: 4, def: 1, factor: 3, offset: -1, decimals: 0, suffix: ""},
        {name: "depth_falloff", label: qsTr("Depth Falloff"), min: 0, max: 100, def: 40, factor: 100, offset: 0, decimals: 1, suffix: " %"},
        {name: "streak_from_speed", label: qsTr("Streak From Speed"), min: 0, max: 1, def: 0, factor: 1, offset: 0, decimals: 0, suffix: ""},
        {name: "frame_rate", label: qsTr("Frame Rate"), min: 1, max: 100, def: 25, factor: 100, offset: 0, decimals: 3, suffix: " fps", fromProfile: true}
    ]

    // The filter reads seeds above 1 as the seed itself and 0..1 as seed
    // 1..100, so seed 1 is sent as 0.
    function toFilter(c, shown) {
        if (c.seed)
            return shown > 1 ? Math.round(shown) : 0;
        return (shown + c.offset) / c.factor;
    }

    function fromFilter(c, value) {
        if (c.seed)
            return value > 1 ? value : Math.round(value * 99 + 1);
        return value * c.factor - c.offset;
    }

    // A new filter's value: the control's default, or for the frame rate the
    // project's own, which MLT does not hand the filter.
    function startValue(c) {
        if (c.fromProfile && typeof profile !== "undefined" && profile.fps > 0)
            return profile.fps;
        return c.def;
    }

    width: 400
    height: layout.implicitHeight + 16

    // One control; a new filter gets the control's default first. Values
    // are written back only once the stored value is shown, so that setting
    // up the slider does not overwrite it.
    component ControlRow: RowLayout {
        property var control
        readonly property bool isChoice: control.choice !== undefined
        property bool loaded: false
        Component.onCompleted: {
            if (filter.isNew)
                filter.set(control.name, isChoice ? control.choice : root.toFilter(control, root.startValue(control)));
            if (isChoice)
                combo.currentIndex = Math.max(0, combo.find(filter.get(control.name)));
            else
                spinner.value = root.fromFilter(control, filter.getDouble(control.name));
            loaded = true;
        }
        Label {
            text: control.label
            Layout.preferredWidth: 110
            horizontalAlignment: Text.AlignRight
        }
        ComboBox {
            id: combo
            visible: isChoice
            model: isChoice ? root.choices[control.name] : []
            Layout.fillWidth: true
            onActivated: filter.set(control.name, currentText)
        }
        Shotcut.SliderSpinner {
            id: spinner
            visible: !isChoice
            minimumValue: isChoice ? 0 : control.min
            maximumValue: isChoice ? 1 : control.max
            decimals: isChoice ? 0 : control.decimals
            suffix: isChoice ? "" : control.suffix
            Layout.fillWidth: true
            onValueChanged: {
                if (loaded && !isChoice)
                    filter.set(control.name, root.toFilter(control, value));
            }
        }
    }

    ColumnLayout {
        id: layout
        anchors.fill: parent
        anchors.margins: 8

        Repeater {
            model: root.rainControls
            ControlRow { control: modelData }
        }
        Label {
            text: qsTr("Blending")
            font.bold: true
        }
        Repeater {
            model: root.blendingControls
            ControlRow { control: modelData }
        }
        Label {
            text: qsTr("Motion and Depth")
            font.bold: true
        }
        Repeater {
            model: root.motionControls
            ControlRow { control: modelData }
        }
        Item {
            Layout.fillHeight: true
        }
    }
}
