// The one rule by which every fitting widget shrinks a text that does not fit
// its room in the font it was given (a stand-in face is wider than the
// design's, the UI font is larger): a smaller size, never below readable.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <functional>

namespace jorv {

// The largest size of `font`, at most its own and in steps of half a point, at
// which `fits` holds; 5 points where none does, since smaller is unreadable.
QFont shrunkToFit(const QFont& font, const std::function<bool(const QFont&)>& fits);

// Where the letters of one line of `text` are inked when it is drawn in
// `room` with `alignment`.
QRect inkOf(const QFont& font, const QString& text, const QRect& room, Qt::Alignment alignment);

} // namespace jorv
