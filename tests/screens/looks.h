// One line on how a label looks, for the windows' design tables.
#pragma once

#include <QApplication>
#include <QFontInfo>
#include <QLabel>

namespace jorv::test {

inline QString rgbOf(const QColor& colour) {
    return QStringLiteral("RGB(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

// The theme's button-text colour, where the design asks for it.
inline QString buttonText() {
    return rgbOf(QApplication::palette().color(QPalette::ButtonText));
}

// Face asked for, points, weight and slant, text colour, alignment, border and
// background: "ＭＳ Ｐ明朝 24 bold italic RGB(0,0,0) left opaque". The face
// must be served by a stand-in IPA face.
inline QString lookOf(const QLabel& label) {
    const QFont font = label.font();
    const Qt::Alignment align = label.alignment();
    QString look = font.family() + " " + QString::number(font.pointSize()) +
                   (font.bold() ? " bold" : " regular") + (font.italic() ? " italic " : " ") +
                   rgbOf(label.palette().color(QPalette::WindowText)) +
                   (align & Qt::AlignHCenter ? " centred"
                    : align & Qt::AlignRight ? " right"
                                             : " left") +
                   (label.frameShape() == QFrame::NoFrame ? "" : " border") +
                   (label.autoFillBackground() ? " opaque" : " transparent");
    if (!QFontInfo(font).family().startsWith("IPA"))
        look += " (no IPA face)";
    return look;
}

} // namespace jorv::test
