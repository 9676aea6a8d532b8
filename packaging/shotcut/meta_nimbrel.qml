// Shotcut's entry for the frei0r filter "nimbrel" in its video filter list.
import QtQuick 2.0
import org.shotcut.qml 1.0

Metadata {
    type: Metadata.Filter
    name: qsTr("Nimbrel rain")
    keywords: qsTr('rain weather drops streaks night', 'search keywords for the Nimbrel rain filter') + ' nimbrel rain'
    mlt_service: "frei0r.nimbrel"
    qml: "ui.qml"
}
